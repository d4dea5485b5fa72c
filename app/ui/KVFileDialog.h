// Asks the user for files or a folder with Qt's own file dialog inside a Dialog_Base frame, so the
// chooser looks like every other window of the program.
#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class Dialog_Base;
class QFileDialog;

class KVFileDialog : public QObject {
    Q_OBJECT

public:
    explicit KVFileDialog(QWidget* parent = nullptr);
    ~KVFileDialog() override;

    // Modes and option are QFileDialog's values (file mode 2: folders; option 1: show folders only).
    void setFileMode(int mode) { fileMode_ = mode; }
    void setAcceptMode(int mode) { acceptMode_ = mode; }
    void setOption(int option) {
        option_ = option;
        useOption_ = true;
    }
    void setDirectory(const QString& directory) { directory_ = directory; }
    // The list, when set, wins over the single filter; folder modes use neither.
    void setNameFilter(const QString& filter) { nameFilter_ = filter; }
    void setNameFilters(const QStringList& filters) { nameFilters_ = filters; }

    // Runs the chooser modally; true when the user accepted. A cancelled run keeps the last selection.
    bool exec();

    QStringList selectedFiles() const { return selectedFiles_; }
    QString selectedFile() const { return selectedFile_; }
    QString selectedNameFilter() const { return selectedNameFilter_; }

private:
    void prepare();

    QWidget* parentWidget_;
    QFileDialog* chooser_ = nullptr;
    QPointer<Dialog_Base> frame_;
    int fileMode_ = 0;
    int acceptMode_ = 0;
    int option_ = 0;
    bool useOption_ = false;
    QString directory_;
    QString nameFilter_;
    QStringList nameFilters_;
    QStringList selectedFiles_;
    QString selectedFile_;
    QString selectedNameFilter_;
};
