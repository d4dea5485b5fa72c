// The title bar of a dialog frame: icon, centred title, the optional maximize and size-menu buttons,
// and the close button. Its title style picks the icon and the colours.
#pragma once

#include "DraggableTitleBar.h"

class QAction;
class QLabel;
class QMenu;
class QToolButton;
class SSToolButton;

class Dialog_TitleBar : public DraggableTitleBar {
    Q_OBJECT

public:
    static constexpr int kHeight = 29;

    // Styles 0 to 3; any other style keeps the application style sheet's look.
    explicit Dialog_TitleBar(int titleStyle = 0, QWidget* parent = nullptr);

    void setTitleText(const QString& text);

signals:
    void closeRequest();
    void maxOrRestoredRequest(bool maximize);
    // 0: 1CIF (352 x 288), 1: 4CIF (704 x 576).
    void onChangedDialogSize(int mode);

public slots:
    void setCloseStatus(bool enabled);
    void onBtnMaxMinClicked();
    void onCIFBtnClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void chooseSize(QAction* chosen);
    void centreTitle();

    QLabel* icon_;
    QLabel* title_;
    SSToolButton* maxRestore_;
    SSToolButton* sizeButton_;
    QToolButton* close_;
    QMenu* sizeMenu_;
    QAction* cif_;
    QAction* fourCif_;
    // The size that was checked when the dialog was maximized, checked again on restore.
    QAction* sizeBeforeMaximize_ = nullptr;
    bool maximized_ = false;
};
