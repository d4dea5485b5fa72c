// The frame of every secondary window: a frameless modal dialog with a Dialog_TitleBar above a content
// widget. Results follow Widget_DialogBase's convention: 0 confirmed, -1 cancelled, 1 confirmed with a
// value (resultObject()).
#pragma once

#include <QDialog>
#include <QPointer>

#include "MaximizeState.h"
#include "Widget_DialogBase.h"

class Dialog_TitleBar;

class Dialog_Base : public QDialog {
    Q_OBJECT

public:
    // A counted dialog is included in openCountedDialogs() while it exists.
    Dialog_Base(QWidget* content, const QString& title, QWidget* parent = nullptr, bool counted = false,
                int titleStyle = 0);
    ~Dialog_Base() override;

    static int openCountedDialogs();

    // The value of the last done request with result 1.
    QObject* resultObject() const { return resultObject_; }
    // Runs the dialog modally and answers the result of its done request; a dialog that ends any other
    // way (hidden, the application quitting) answers cancelled, never the 0 of "confirmed".
    int exec() override;

signals:
    void sendCloseReq();

public slots:
    void closeDialog();
    void closeDialog(int result);
    void doneResponse(Widget_DialogBase::ResultType result, QObject* value);
    void maxOrRestoredRespone(bool maximize);
    // Also blocks closing by the window system and by Escape, so only the content can end the dialog.
    void setCloseDisabled(bool disabled);
    void MoveWindow(QPoint offset);
    // 0: content 352 x 288, 1: 704 x 576; nothing when the content already has that width.
    void OnChangeDialogSize(int mode);
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setContentSize(QSize size);
    void fitFrameToContent();

    QWidget* content_;
    Dialog_TitleBar* titleBar_;
    bool counted_;
    bool closingBlocked_ = false;
    QPointer<QObject> resultObject_;
    int answer_ = Widget_DialogBase::Cancelled;
    MaximizeState maximizeState_;
};
