#include "KVWindBase.h"

#include <QCloseEvent>
#include <QIcon>
#include <QScopedValueRollback>
#include <QScreen>
#include <QVBoxLayout>

#include "Dialog_Base.h"
#include "KVContentWidget.h"
#include "LanguageTable.h"
#include "Skin.h"
#include "TitleBar.h"
#include "kvMessagebox.h"

namespace {

const char* const kTitle = "TARN-VIDEO PLAYER";
constexpr int kExitQuestion = 146;
constexpr int kExitTitle = 147;

}  // namespace

KVWindBase::KVWindBase(QWidget* parent)
    : QFrame(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint),
      titleBar_(new TitleBar(this)),
      content_(new KVContentWidget(this)) {
    setObjectName("BaseWindow");
    setWindowTitle(kTitle);
    setWindowIcon(QIcon(Skin::iconFile("app.png")));
    content_->setObjectName("Contents");
    content_->setStyleSheet(".KVContentWidget{background: #FFFFFF;}");

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(titleBar_);
    layout->addWidget(content_);

    connect(titleBar_, &TitleBar::minRequest, this, &KVWindBase::minWindBase);
    connect(titleBar_, &TitleBar::closeRequest, this, &KVWindBase::closeWindBase);
    connect(titleBar_, &TitleBar::showMinRequest, this, &KVWindBase::showMinResponse);
    connect(titleBar_, &TitleBar::showMaxRequest, this, &KVWindBase::showMaxResponse);
    connect(titleBar_, &TitleBar::moveWindowRequest, this, &KVWindBase::MoveWindow);
    connect(titleBar_, &TitleBar::languageChangedTitle, this, &KVWindBase::languageChangedBaseResp);

    closeTimer_.setInterval(1000);
    connect(&closeTimer_, &QTimer::timeout, this, &KVWindBase::closeWhenWorkEnded);

    const QRect normal = initialGeometry(screen()->availableGeometry());
    setGeometry(normal);
    setMinimumSize(normal.size());
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    showMaxResponse();
    titleBar_->setMaximized(true);
}

QRect KVWindBase::initialGeometry(const QRect& available) {
    const qint64 area = qint64(available.width()) * available.height();
    QSize size(1280, 900);
    if (area < 1152001)
        size = area < 745473 ? QSize(924, 728) : QSize(1024, 728);
    // The halves are taken of the distance, so a window larger than the desktop is shifted, not centred.
    const int x = available.x() + qAbs(available.width() - size.width()) / 2;
    const int y = available.y() + qAbs(available.height() - size.height()) / 2;
    return {QPoint(x, y), size};
}

void KVWindBase::MoveWindow(QPoint offset) {
    if (!maximizeState_.isMaximized())
        move(pos() + offset);
}

void KVWindBase::minWindBase() {
    showMinimized();
}

void KVWindBase::closeWindBase() {
    // One question at a time: the window system may ask to close while it is on screen.
    if (asking_)
        return;
    const QScopedValueRollback<bool> asking(asking_, true);
    auto* question = new kvMessagebox;
    question->setText(LanguageTable::text(kExitQuestion));
    Dialog_Base confirmation(question, LanguageTable::text(kExitTitle), this, true, 0);
    if (confirmation.exec() != Widget_DialogBase::Confirmed)
        return;
    content_->stopAll();
    closeTimer_.start();
    hide();
}

void KVWindBase::closeWhenWorkEnded() {
    if (!content_->allWorkEnded())
        return;
    closeTimer_.stop();
    closeConfirmed_ = true;
    close();
}

void KVWindBase::closeEvent(QCloseEvent* event) {
    if (closeConfirmed_) {
        QFrame::closeEvent(event);
        return;
    }
    event->ignore();
    // Once confirmed, the window closes by itself when the work has ended.
    if (!closeTimer_.isActive()) {
        QTimer::singleShot(0, this, &KVWindBase::closeWindBase);
    }
}

void KVWindBase::showMinResponse() {
    if (const std::optional<QRect> normal = maximizeState_.restore())
        setGeometry(*normal);
}

void KVWindBase::showMaxResponse() {
    if (const std::optional<QRect> available = maximizeState_.maximize(*this))
        setGeometry(*available);
}

void KVWindBase::languageChangedBaseResp() {
    titleBar_->setTitleText(kTitle);
    content_->languageChangedResp();
}
