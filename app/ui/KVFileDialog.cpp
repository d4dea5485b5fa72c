#include "KVFileDialog.h"

#include <QDir>
#include <QFileDialog>

#include "Dialog_Base.h"

KVFileDialog::KVFileDialog(QWidget* parent) : QObject(parent), parentWidget_(parent), directory_(QDir::homePath()) {}

KVFileDialog::~KVFileDialog() {
    delete frame_;
}

bool KVFileDialog::exec() {
    prepare();
    chooser_->show();
    if (frame_->exec() != QDialog::Accepted)
        return false;
    selectedFiles_ = chooser_->selectedFiles();
    selectedFile_ = selectedFiles_.value(0);
    selectedNameFilter_ = chooser_->selectedNameFilter();
    return true;
}

void KVFileDialog::prepare() {
    if (!frame_) {
        // Qt's own dialog, not the desktop's, so that it can live inside the frame.
        chooser_ = new QFileDialog;
        chooser_->setOption(QFileDialog::DontUseNativeDialog);
        frame_ = new Dialog_Base(chooser_, QString(), parentWidget_);
    }
    chooser_->setFileMode(QFileDialog::FileMode(fileMode_));
    chooser_->setDirectory(directory_);
    chooser_->setAcceptMode(QFileDialog::AcceptMode(acceptMode_));
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog;
    if (useOption_)
        options |= QFileDialog::Options(option_);
    chooser_->setOptions(options);
    const bool filesWanted = fileMode_ == QFileDialog::AnyFile || fileMode_ == QFileDialog::ExistingFile ||
                             fileMode_ == QFileDialog::ExistingFiles;
    if (filesWanted) {
        if (!nameFilters_.isEmpty())
            chooser_->setNameFilters(nameFilters_);
        else if (!nameFilter_.isEmpty())
            chooser_->setNameFilter(nameFilter_);
    }
}
