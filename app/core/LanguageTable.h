// The user-visible texts of the program, numbered in the order in which they appear in the language
// file. Every element named "string", at any depth, is one entry; widgets ask for entries by number.
#pragma once

#include <QString>
#include <QStringList>

class LanguageTable {
public:
    // Replaces the table with the file's entries. A missing or unreadable file leaves the table empty
    // and answers false.
    static bool load(const QString& path);
    // Entry `number`, or an empty text when the table has no such entry.
    static QString text(int number);
    static int size();
    static void clear();
};

// The language file of a language code, relative to the program folder: 1 English, 2048 Korean, and no
// file for any other code (the table then stays empty).
QString languageFileName(int languageCode);
// The Qt catalogue that goes with a language code, relative to the program folder, or empty.
QString qtCatalogueFileName(int languageCode);
