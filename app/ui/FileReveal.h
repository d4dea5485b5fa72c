// Shows a written file to the user: its folder in the file manager with the file selected, or the file
// itself in the desktop's default application.
#pragma once

#include <QString>

// Asks the desktop's file manager (freedesktop FileManager1 over the session bus) to show the file
// selected; without one, opens the folder. Answers whether anything was started.
bool revealInFolder(const QString& filePath);
bool openWithDefaultApplication(const QString& filePath);
