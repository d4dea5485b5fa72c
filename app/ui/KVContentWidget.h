// The main view of the program. It owns the player libraries' lifetime: they are initialised when the
// view is built and released when it goes. For now it shows only the program's name; the search,
// playback and export views come into it later.
#pragma once

#include <QFrame>

class QLabel;

class KVContentWidget : public QFrame {
    Q_OBJECT

public:
    explicit KVContentWidget(QWidget* parent = nullptr);
    ~KVContentWidget() override;

    // Stops every playback and export; what it started ends on its own worker threads.
    void stopAll();
    // Whether everything stopAll() ended has finished, so that the program may close.
    bool allWorkEnded() const;

public slots:
    // Sets every text of the view again from the language table.
    void languageChangedResp();

private:
    QLabel* name_;
};
