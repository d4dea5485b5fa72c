#include "KVContentWidget.h"

#include <QLabel>
#include <QVBoxLayout>

#include "KVPlay.h"
#include "KVPlayHDD.h"
#include "KVPlaySD.h"

KVContentWidget::KVContentWidget(QWidget* parent) : QFrame(parent) {
    // Results are ignored: a library that failed to start reports it on first use.
    KVPlayInitPlayLib(1, 1, nullptr);
    KVrfs_init_hdd(64, 20);
    rfs_init(64, 20);

    name_ = new QLabel("TarnPlayer", this);
    name_->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name_);
}

KVContentWidget::~KVContentWidget() {
    stopAll();
    // Play instances live in the child windows and must be gone before the library is released.
    // One at a time: deleting a child may delete another.
    while (QObject* child = findChild<QObject*>(QString(), Qt::FindDirectChildrenOnly))
        delete child;
    KVPlayDeinitPlayLib();
}

void KVContentWidget::stopAll() {
    // Nothing plays or exports yet.
}

bool KVContentWidget::allWorkEnded() const {
    return true;
}

void KVContentWidget::languageChangedResp() {
    // The view's texts do not come from the language table yet.
}
