// The main window's title bar: the program's title, the about menu and the window buttons.
#pragma once

#include <QPixmap>

#include "DraggableTitleBar.h"

class QAction;
class QLabel;
class QMenu;
class SSToolButton;

class TitleBar : public DraggableTitleBar {
    Q_OBJECT

public:
    explicit TitleBar(QWidget* parent = nullptr);

    // An empty text leaves the title as it is.
    void setTitleText(const QString& text);
    // Painted left, stretched middle, right; until set the bar shows its style sheet's background.
    void setBackgrounds(const QPixmap& left, const QPixmap& middle, const QPixmap& right);
    // Shows restore in place of maximize while the window is maximized.
    void setMaximized(bool maximized);

signals:
    void minRequest();
    void closeRequest();
    void showMinRequest();
    void showMaxRequest();
    void languageChangedTitle();

public slots:
    // Re-reads every text after the language table changed and tells the window.
    void retranslate();
    // Shows the about page in a modal dialog.
    void showAbout();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    SSToolButton* addWindowButton(const char* objectName, const char* sprite);
    void applyTexts();
    void requestMaximize();
    void requestRestore();

    QLabel* title_;
    SSToolButton* about_;
    SSToolButton* minimize_;
    SSToolButton* restore_;
    SSToolButton* maximize_;
    SSToolButton* close_;
    QMenu* menu_;
    QAction* settingsAction_;
    QAction* aboutAction_;
    QPixmap left_;
    QPixmap middle_;
    QPixmap right_;
    bool paintBackgrounds_ = false;
    bool maximized_ = false;
};
