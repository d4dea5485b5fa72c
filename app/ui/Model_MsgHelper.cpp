#include "Model_MsgHelper.h"

#include "LanguageTable.h"

Model_MsgHelper& Model_MsgHelper::instance() {
    static Model_MsgHelper helper;
    return helper;
}

QString Model_MsgHelper::kindPrefix(int kind) {
    switch (kind) {
        case 1:
            return LanguageTable::text(0);
        case 2:
            return LanguageTable::text(3);
        case 3:
            return LanguageTable::text(4);
        default:
            return {};
    }
}

void Model_MsgHelper::showMessage(const QString& text, int durationMs) {
    show(text, PopupStyle::Message, {}, durationMs);
}

void Model_MsgHelper::showResult(const QString& text, bool success, int durationMs, int kind) {
    const QString prefix = kindPrefix(kind);
    show(prefix.isEmpty() ? text : prefix + " " + text, success ? PopupStyle::Success : PopupStyle::Failure, {},
         durationMs);
}

void Model_MsgHelper::showFileResult(const QString& filePath, bool success, int kind, int durationMs) {
    show(kindPrefix(kind), success ? PopupStyle::Success : PopupStyle::Failure, filePath, durationMs);
}

void Model_MsgHelper::show(const QString& message, PopupStyle style, const QString& filePath, int durationMs) {
    // A newer message replaces the one on screen rather than stacking on the same corner.
    if (popup_) {
        popup_->closeResponse();
    }
    popup_ = new Widget_Popup;
    connect(popup_, &Widget_Popup::HideWidget, popup_, &QObject::deleteLater);
    popup_->setContent(message, style, filePath);
    popup_->showFor(durationMs);
}
