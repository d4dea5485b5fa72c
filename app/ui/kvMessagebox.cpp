#include "kvMessagebox.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "LanguageTable.h"

namespace {

constexpr int kOkText = 145;
constexpr int kCancelText = 109;

}  // namespace

kvMessagebox::kvMessagebox(QWidget* parent) : Widget_DialogBase(parent) {
    setObjectName("kvMessagebox");
    resize(224, 112);
    setMinimumSize(60, 30);

    message_ = new QLabel(this);
    message_->setObjectName("m_pLabstr");
    ok_ = new QPushButton(LanguageTable::text(kOkText), this);
    cancel_ = new QPushButton(LanguageTable::text(kCancelText), this);
    // The application style sheet styles the dialog buttons by this name.
    ok_->setObjectName("tablebtn");
    cancel_->setObjectName("tablebtn");

    auto* messageRow = new QHBoxLayout;
    messageRow->addStretch();
    messageRow->addWidget(message_);
    messageRow->addStretch();
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(ok_);
    buttonRow->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addSpacerItem(new QSpacerItem(20, 8, QSizePolicy::Minimum, QSizePolicy::Expanding));
    layout->addLayout(messageRow);
    layout->addSpacerItem(new QSpacerItem(20, 8, QSizePolicy::Minimum, QSizePolicy::Expanding));
    layout->addLayout(buttonRow);

    connect(ok_, &QPushButton::clicked, this, [this] { emit doneRequest(Confirmed, nullptr); });
    connect(cancel_, &QPushButton::clicked, this, [this] { emit doneRequest(Cancelled, nullptr); });
}

void kvMessagebox::setText(const QString& text) {
    message_->setText(text);
}
