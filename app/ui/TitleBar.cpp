#include "TitleBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "Dialog_Base.h"
#include "LanguageTable.h"
#include "SSToolButton.h"
#include "Skin.h"
#include "Widget_About.h"

namespace {

constexpr int kMinimizeTip = 37;
constexpr int kMaximizeTip = 38;
constexpr int kCloseTip = 39;
constexpr int kRestoreTip = 40;
constexpr int kAboutText = 41;
constexpr int kAboutTip = 79;
constexpr int kSettingsText = 80;

}  // namespace

TitleBar::TitleBar(QWidget* parent) : DraggableTitleBar(parent) {
    setObjectName("TitleBar");
    setFixedHeight(32);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    title_ = new QLabel("TARN-VIDEO PLAYER", this);
    title_->setAlignment(Qt::AlignCenter);
    title_->setStyleSheet("color:white;font:bold 14px;");

    about_ = addWindowButton("AboutButton", "home/Header/about");
    minimize_ = addWindowButton("MinButton", "home/Header/mini");
    restore_ = addWindowButton("RestoreButton", "home/Header/restore");
    maximize_ = addWindowButton("MaxButton", "home/Header/max");
    close_ = addWindowButton("CloseButton", "home/Header/close");
    restore_->hide();

    auto* buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(7);
    buttonRow->setContentsMargins(0, 3, 8, 0);
    buttonRow->addStretch();
    for (QWidget* button : {about_, minimize_, restore_, maximize_, close_})
        buttonRow->addWidget(button);
    auto* buttonColumn = new QVBoxLayout;
    buttonColumn->setContentsMargins(22, 0, 0, 0);
    buttonColumn->addLayout(buttonRow);
    buttonColumn->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 0, 0, 0);
    layout->addWidget(title_);
    layout->addStretch();
    layout->addLayout(buttonColumn);

    menu_ = new QMenu(this);
    // The settings page comes with the settings of snapshots, clips and language; until then its
    // entry is shown but cannot be chosen.
    settingsAction_ = menu_->addAction(QString());
    settingsAction_->setEnabled(false);
    aboutAction_ = menu_->addAction(QString(), this, &TitleBar::showAbout);

    connect(about_, &QToolButton::clicked, this,
            [this] { menu_->popup(about_->mapToGlobal(about_->rect().bottomLeft())); });
    connect(minimize_, &QToolButton::clicked, this, &TitleBar::minRequest);
    connect(maximize_, &QToolButton::clicked, this, &TitleBar::requestMaximize);
    connect(restore_, &QToolButton::clicked, this, &TitleBar::requestRestore);
    connect(close_, &QToolButton::clicked, this, &TitleBar::closeRequest);

    const QPixmap background(Skin::path("home/Header/TitleBar_bk", SkinKind::Png));
    setBackgrounds(background, background, background);
    applyTexts();
}

SSToolButton* TitleBar::addWindowButton(const char* objectName, const char* sprite) {
    auto* button = new SSToolButton(this);
    button->setObjectName(objectName);
    button->setFixedSize(16, 16);
    button->setupWindowButtonSprite(sprite);
    return button;
}

void TitleBar::setTitleText(const QString& text) {
    if (text.isEmpty())
        return;
    title_->setText(text);
    title_->show();
    update();
}

void TitleBar::setBackgrounds(const QPixmap& left, const QPixmap& middle, const QPixmap& right) {
    left_ = left;
    middle_ = middle;
    right_ = right;
    paintBackgrounds_ = true;
    update();
}

void TitleBar::setMaximized(bool maximized) {
    maximized_ = maximized;
    maximize_->setVisible(!maximized);
    restore_->setVisible(maximized);
}

void TitleBar::retranslate() {
    applyTexts();
    emit languageChangedTitle();
}

void TitleBar::applyTexts() {
    minimize_->setToolTip(LanguageTable::text(kMinimizeTip));
    maximize_->setToolTip(LanguageTable::text(kMaximizeTip));
    close_->setToolTip(LanguageTable::text(kCloseTip));
    restore_->setToolTip(LanguageTable::text(kRestoreTip));
    about_->setToolTip(LanguageTable::text(kAboutTip));
    settingsAction_->setText(LanguageTable::text(kSettingsText));
    aboutAction_->setText(LanguageTable::text(kAboutText));
}

void TitleBar::requestMaximize() {
    setMaximized(true);
    emit showMaxRequest();
}

void TitleBar::requestRestore() {
    setMaximized(false);
    emit showMinRequest();
}

void TitleBar::paintEvent(QPaintEvent* event) {
    DraggableTitleBar::paintEvent(event);
    if (!paintBackgrounds_)
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, left_);
    painter.drawPixmap(width() - right_.width(), 0, right_);
    painter.drawPixmap(QRect(left_.width(), 0, width() - left_.width() - right_.width(), height()), middle_);
}

void TitleBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    if (maximized_)
        requestRestore();
    else
        requestMaximize();
}

void TitleBar::showAbout() {
    Dialog_Base dialog(new Widget_About, LanguageTable::text(kAboutText), this);
    dialog.exec();
}
