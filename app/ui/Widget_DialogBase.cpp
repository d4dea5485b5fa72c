#include "Widget_DialogBase.h"

#include <QPainter>
#include <QStyleOption>

void Widget_DialogBase::paintEvent(QPaintEvent*) {
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}
