#include "Dialog_Base.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QVBoxLayout>

#include "Dialog_TitleBar.h"

namespace {

int countedDialogs = 0;

}  // namespace

Dialog_Base::Dialog_Base(QWidget* content, const QString& title, QWidget* parent, bool counted, int titleStyle)
    : QDialog(parent, Qt::Tool | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      content_(content),
      titleBar_(new Dialog_TitleBar(titleStyle, this)),
      counted_(counted) {
    setObjectName("dialog_base");
    setModal(true);
    if (counted_)
        ++countedDialogs;

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleBar_);
    layout->addWidget(content_);

    connect(titleBar_, &Dialog_TitleBar::closeRequest, this, qOverload<>(&Dialog_Base::closeDialog));
    connect(titleBar_, &Dialog_TitleBar::moveWindowRequest, this, &Dialog_Base::MoveWindow);
    connect(titleBar_, &Dialog_TitleBar::maxOrRestoredRequest, this, &Dialog_Base::maxOrRestoredRespone);
    connect(titleBar_, &Dialog_TitleBar::onChangedDialogSize, this, &Dialog_Base::OnChangeDialogSize);
    if (auto* dialogContent = qobject_cast<Widget_DialogBase*>(content_)) {
        connect(dialogContent, &Widget_DialogBase::doneRequest, this, &Dialog_Base::doneResponse);
        connect(dialogContent, &Widget_DialogBase::moveMainWindowRequest, this, &Dialog_Base::MoveWindow);
        connect(dialogContent, &Widget_DialogBase::doneClose, titleBar_, &Dialog_TitleBar::setCloseStatus);
        connect(dialogContent, &Widget_DialogBase::setCloseBtnEnable, titleBar_, &Dialog_TitleBar::setCloseStatus);
    } else if (auto* fileDialog = qobject_cast<QFileDialog*>(content_)) {
        fileDialog->setFixedSize(590, 365);
        connect(fileDialog, &QDialog::finished, this, qOverload<int>(&Dialog_Base::closeDialog));
    }

    fitFrameToContent();
    titleBar_->setTitleText(title);
    setWindowTitle(title);
}

Dialog_Base::~Dialog_Base() {
    if (counted_)
        --countedDialogs;
}

int Dialog_Base::openCountedDialogs() {
    return countedDialogs;
}

void Dialog_Base::closeDialog() {
    closeDialog(Widget_DialogBase::Cancelled);
}

int Dialog_Base::exec() {
    answer_ = Widget_DialogBase::Cancelled;
    QDialog::exec();
    return answer_;
}

void Dialog_Base::closeDialog(int result) {
    answer_ = result;
    emit sendCloseReq();
    done(result);
}

void Dialog_Base::doneResponse(Widget_DialogBase::ResultType result, QObject* value) {
    if (result == Widget_DialogBase::ConfirmedWithValue)
        resultObject_ = value;
    closeDialog(result);
}

void Dialog_Base::maxOrRestoredRespone(bool maximize) {
    const std::optional<QRect> target = maximize ? maximizeState_.maximize(*this) : maximizeState_.restore();
    if (!target)
        return;
    setContentSize({target->width(), target->height() - Dialog_TitleBar::kHeight});
    setGeometry(*target);
}

void Dialog_Base::setCloseDisabled(bool disabled) {
    closingBlocked_ = disabled;
    titleBar_->setCloseStatus(!disabled);
}

void Dialog_Base::MoveWindow(QPoint offset) {
    move(pos() + offset);
}

void Dialog_Base::OnChangeDialogSize(int mode) {
    if (mode != 0 && mode != 1)
        return;
    const QSize size = mode == 0 ? QSize(352, 288) : QSize(704, 576);
    if (content_->width() == size.width())
        return;
    setContentSize(size);
}

void Dialog_Base::reject() {
    if (!closingBlocked_)
        closeDialog();
}

void Dialog_Base::closeEvent(QCloseEvent* event) {
    if (closingBlocked_)
        event->ignore();
    else
        QDialog::closeEvent(event);
}

void Dialog_Base::setContentSize(QSize size) {
    content_->setFixedSize(size);
    fitFrameToContent();
}

// The frame fits its content exactly: the title bar on top, nothing around.
void Dialog_Base::fitFrameToContent() {
    setFixedSize(content_->width(), Dialog_TitleBar::kHeight + content_->height());
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}
