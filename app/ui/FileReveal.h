// Shows a written file to the user: its folder in the file manager with the file selected, or the file
// itself in the desktop's default application.
#pragma once

#include <QString>

// Asks the desktop's file manager (freedesktop FileManager1 on the session bus) to show the file
// selected, without waiting for it; when there is no such file manager, opens the folder.
void revealInFolder(const QString& filePath);
void openWithDefaultApplication(const QString& filePath);
