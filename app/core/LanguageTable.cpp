#include "LanguageTable.h"

#include <QDebug>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QXmlStreamReader>

namespace {

QMutex& tableLock() {
    static QMutex lock;
    return lock;
}

QStringList& entries() {
    static QStringList list;
    return list;
}

}  // namespace

bool LanguageTable::load(const QString& path) {
    QStringList loaded;
    QFile file(path);
    const bool opened = file.open(QIODevice::ReadOnly);
    if (opened) {
        // Each "string" element is an entry, also one inside another; an entry's text is all the text
        // inside it, nested elements included, so the open entries all collect what is read.
        QXmlStreamReader xml(&file);
        QList<int> open;
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::StartElement && xml.name() == QLatin1String("string")) {
                open.append(loaded.size());
                loaded.append(QString());
            } else if (token == QXmlStreamReader::EndElement && xml.name() == QLatin1String("string")) {
                open.removeLast();
            } else if (token == QXmlStreamReader::Characters) {
                for (const int entry : open) {
                    loaded[entry] += xml.text();
                }
            }
        }
        // The entries before the fault still serve; the rest of the texts stay empty.
        if (xml.hasError()) {
            qWarning().noquote() << "language file" << path << "is damaged at line" << xml.lineNumber() << ":"
                                 << xml.errorString();
        }
    }
    QMutexLocker locker(&tableLock());
    entries() = loaded;
    return opened;
}

QString LanguageTable::text(int number) {
    QMutexLocker locker(&tableLock());
    return number >= 0 && number < entries().size() ? entries().at(number) : QString();
}

int LanguageTable::size() {
    QMutexLocker locker(&tableLock());
    return entries().size();
}

void LanguageTable::clear() {
    QMutexLocker locker(&tableLock());
    entries().clear();
}

QString languageFileName(int languageCode) {
    switch (languageCode) {
        case 1:
            return QStringLiteral("/Language/ENU.xml");
        case 2048:
            return QStringLiteral("/Language/KOR.xml");
        default:
            return {};
    }
}

QString qtCatalogueFileName(int languageCode) {
    return languageCode == 2048 ? QStringLiteral("/qt_ko.qm") : QString();
}
