#include "Widget_Popup.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QToolButton>
#include <QVBoxLayout>

#include "FileReveal.h"
#include "Picture_label.h"
#include "Skin.h"

namespace {

constexpr int kIconSize = 24;
constexpr int kPictureHeight = 72;
const char* const kFailureColour = "#E43333";
const char* const kBarColour = "background-color:rgb(15,76,178);";

QString linkHtml(const QString& filePath, const QString& shownText) {
    return QStringLiteral("<a href=\"%1\" style=\"color:rgb(15,76,178);\">%2</a>")
        .arg(filePath.toHtmlEscaped(), shownText.toHtmlEscaped());
}

}  // namespace

Widget_Popup::Widget_Popup(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint),
      bar_(new QFrame(this)),
      icon_(new QLabel(this)),
      message_(new QLabel(this)),
      picture_(new Picture_label(this)),
      link_(new QLabel(this)) {
    setObjectName("tooltip");
    setAttribute(Qt::WA_StyledBackground);
    setFixedSize(kWidth, kHeight);

    bar_->setObjectName("bar");
    bar_->setFixedHeight(4);
    bar_->setStyleSheet(kBarColour);
    icon_->setObjectName("resultIcon");
    icon_->setFixedSize(kIconSize, kIconSize);
    icon_->hide();
    message_->setObjectName("message");
    message_->setWordWrap(true);
    picture_->setObjectName("picture");
    picture_->hide();
    link_->setObjectName("link");
    link_->setCursor(Qt::PointingHandCursor);
    link_->setTextFormat(Qt::RichText);
    link_->hide();

    auto* close = new QToolButton(this);
    close->setObjectName("close");
    close->setAutoRaise(true);
    close->setIcon(QIcon(Skin::path("comm/close", true, "svg")));
    close->setFixedSize(18, 18);

    auto* header = new QHBoxLayout;
    header->setContentsMargins(8, 6, 4, 0);
    header->addWidget(icon_, 0, Qt::AlignTop);
    header->addWidget(message_, 1);
    header->addWidget(close, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(4);
    layout->addWidget(bar_);
    layout->addLayout(header);
    layout->addWidget(picture_, 0, Qt::AlignHCenter);
    layout->addWidget(link_, 0, Qt::AlignHCenter);
    layout->addStretch();

    closeTimer_.setSingleShot(true);
    connect(&closeTimer_, &QTimer::timeout, this, &Widget_Popup::closeResponse);
    connect(close, &QToolButton::clicked, this, &Widget_Popup::closeResponse);
    connect(picture_, &Picture_label::openFileReq, this, &Widget_Popup::openFile);
    connect(link_, &QLabel::linkActivated, this, &Widget_Popup::openFolder);
}

void Widget_Popup::setContent(const QString& message, PopupStyle style, const QString& filePath) {
    filePath_ = filePath;
    message_->setText(message);
    const bool failed = style == PopupStyle::Failure;
    message_->setStyleSheet(failed ? QStringLiteral("color:%1;").arg(kFailureColour) : QString());
    bar_->setStyleSheet(failed ? QStringLiteral("background-color:%1;").arg(kFailureColour) : kBarColour);
    icon_->setVisible(style != PopupStyle::Message);
    if (style != PopupStyle::Message) {
        icon_->setPixmap(QIcon(Skin::path(failed ? "comm/failed" : "comm/success", true, "svg")).pixmap(kIconSize));
    }

    link_->setVisible(!filePath.isEmpty());
    if (!filePath.isEmpty()) {
        link_->setText(linkHtml(filePath, link_->fontMetrics().elidedText(filePath, Qt::ElideRight, kLinkWidth)));
    }
    // Only a picture that was written successfully is shown; a failed file may be missing or partial.
    QImage image;
    if (!failed && !filePath.isEmpty()) {
        QImageReader reader(filePath);
        reader.setAutoTransform(true);
        image = reader.read();
    }
    picture_->setVisible(!image.isNull());
    if (!image.isNull()) {
        picture_->setFixedSize(image.size().scaled(kWidth - 16, kPictureHeight, Qt::KeepAspectRatio));
        picture_->setPixmap(QPixmap::fromImage(image));
    }
}

QPoint Widget_Popup::placement(const QRect& available, const QSize& size) {
    return {available.x() + available.width() - size.width() - 1, available.y() + available.height() - size.height()};
}

void Widget_Popup::showFor(int durationMs) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(placement(screen->availableGeometry(), size()));
    }
    show();
    closeTimer_.start(durationMs);
}

void Widget_Popup::closeResponse() {
    closeTimer_.stop();
    hide();
    emit HideWidget();
}

void Widget_Popup::openFile() {
    if (!filePath_.isEmpty()) {
        openWithDefaultApplication(filePath_);
    }
}

void Widget_Popup::openFolder(const QString& filePath) {
    revealInFolder(filePath);
}
