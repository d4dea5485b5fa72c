#include "Dialog_TitleBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>

#include "SSToolButton.h"
#include "Skin.h"

namespace {

struct TitleStyle {
    const char* icon;  // null: no icon
    const char* styleSheet;
};

TitleStyle titleStyle(int style) {
    switch (style) {
        case 0:
            return {"comm/info", "background: rgb(15,76,178);color: white;"};
        case 1:
            return {"comm/urgentAlarm", "background: rgb(228, 51, 51);font-size:20px;color: white;"};
        case 2:
            return {nullptr, "background: rgb(15,76,178);color: white;"};
        case 3:
            return {nullptr, "background: rgb(228, 51, 51);color: white;"};
        default:
            return {nullptr, ""};
    }
}

const char* maxRestoreSprite(bool maximized) {
    return maximized ? "home/Header/restore" : "home/Header/max";
}

}  // namespace

Dialog_TitleBar::Dialog_TitleBar(int style, QWidget* parent) : DraggableTitleBar(parent) {
    setObjectName("dialog_titlebar");
    setFixedHeight(kHeight);
    const TitleStyle look = titleStyle(style);
    setStyleSheet(look.styleSheet);

    icon_ = new QLabel(this);
    if (look.icon)
        icon_->setPixmap(QPixmap(Skin::path(look.icon, true, "svg")));
    // Outside the layout: the title stays centred in the whole bar whatever the buttons take. It takes
    // the bar's background, so it lies below the icon and never covers it in a narrow dialog.
    title_ = new QLabel(this);
    title_->setAlignment(Qt::AlignCenter);
    title_->setMinimumWidth(200);
    title_->lower();

    maxRestore_ = new SSToolButton(this);
    maxRestore_->setObjectName("MaxRestoreButton");
    maxRestore_->setFixedSize(16, 16);
    maxRestore_->setupWindowButtonSprite(maxRestoreSprite(false));
    maxRestore_->hide();

    sizeMenu_ = new QMenu(this);
    cif_ = sizeMenu_->addAction("1CIF");
    fourCif_ = sizeMenu_->addAction("4CIF");
    for (QAction* action : {cif_, fourCif_}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, action] { chooseSize(action); });
    }
    sizeButton_ = new SSToolButton(this);
    sizeButton_->setObjectName("SizeMenuButton");
    sizeButton_->hide();

    close_ = new QToolButton(this);
    close_->setObjectName("toolbutton");
    close_->setIcon(QIcon(Skin::path("comm/dialog-closebutton", true, "svg")));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 5, 0);
    layout->addWidget(icon_);
    layout->addStretch();
    layout->addWidget(maxRestore_);
    layout->addWidget(sizeButton_);
    layout->addSpacing(1);
    layout->addWidget(close_);

    connect(close_, &QToolButton::clicked, this, &Dialog_TitleBar::closeRequest);
    connect(maxRestore_, &QToolButton::clicked, this, &Dialog_TitleBar::onBtnMaxMinClicked);
    connect(sizeButton_, &QToolButton::clicked, this, &Dialog_TitleBar::onCIFBtnClicked);
}

void Dialog_TitleBar::setTitleText(const QString& text) {
    title_->setText(text);
    centreTitle();
}

void Dialog_TitleBar::setCloseStatus(bool enabled) {
    close_->setEnabled(enabled);
}

void Dialog_TitleBar::onBtnMaxMinClicked() {
    maximized_ = !maximized_;
    maxRestore_->setupWindowButtonSprite(maxRestoreSprite(maximized_));
    if (maximized_) {
        sizeBeforeMaximize_ = cif_->isChecked() ? cif_ : fourCif_->isChecked() ? fourCif_ : nullptr;
        for (QAction* action : {cif_, fourCif_}) {
            action->setChecked(false);
            action->setEnabled(true);
        }
    } else if (sizeBeforeMaximize_) {
        sizeBeforeMaximize_->setChecked(true);
        sizeBeforeMaximize_->setEnabled(false);
    }
    emit maxOrRestoredRequest(maximized_);
}

void Dialog_TitleBar::onCIFBtnClicked() {
    sizeMenu_->popup(sizeButton_->mapToGlobal(sizeButton_->rect().bottomLeft()));
}

void Dialog_TitleBar::chooseSize(QAction* chosen) {
    QAction* other = chosen == cif_ ? fourCif_ : cif_;
    chosen->setChecked(true);
    chosen->setEnabled(false);
    other->setChecked(false);
    other->setEnabled(true);
    emit onChangedDialogSize(chosen == cif_ ? 0 : 1);
}

void Dialog_TitleBar::resizeEvent(QResizeEvent* event) {
    DraggableTitleBar::resizeEvent(event);
    centreTitle();
}

void Dialog_TitleBar::centreTitle() {
    const int titleWidth = qMax(title_->minimumWidth(), title_->sizeHint().width());
    title_->setGeometry((width() - titleWidth) / 2, 0, titleWidth, height());
}
