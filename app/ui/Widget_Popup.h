// The small pop-up in the bottom-right corner of the screen that shows a notice or the result of writing
// a file, and hides itself after a while. A written picture is shown and opens on a click; the file's
// path is a link that shows the file in its folder.
#pragma once

#include <QTimer>
#include <QWidget>

class QFrame;
class QLabel;
class Picture_label;

enum class PopupStyle { Message, Success, Failure };

class Widget_Popup : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 220;
    static constexpr int kHeight = 165;
    static constexpr int kLinkWidth = 160;

    explicit Widget_Popup(QWidget* parent = nullptr);

    // `filePath` empty: no link and no picture.
    void setContent(const QString& message, PopupStyle style, const QString& filePath = {});
    // Places the pop-up in the corner of the available desktop and hides it after `durationMs`.
    void showFor(int durationMs);
    // The top-left corner of a pop-up of `size` in the bottom-right corner of `available`.
    static QPoint placement(const QRect& available, const QSize& size);

signals:
    void HideWidget();

public slots:
    void closeResponse();
    void openFile();
    void openFolder(const QString& filePath);

private:
    QFrame* bar_;
    QLabel* icon_;
    QLabel* message_;
    Picture_label* picture_;
    QLabel* link_;
    QTimer closeTimer_;
    QString filePath_;
};
