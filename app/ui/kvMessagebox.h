// A question with OK and Cancel, shown inside a Dialog_Base: OK ends the dialog with 0, Cancel with -1.
#pragma once

#include "Widget_DialogBase.h"

class QLabel;
class QPushButton;

class kvMessagebox : public Widget_DialogBase {
    Q_OBJECT

public:
    explicit kvMessagebox(QWidget* parent = nullptr);

    void setText(const QString& text);

private:
    QLabel* message_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
