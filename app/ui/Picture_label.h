// A picture that asks for its file to be opened when it is clicked.
#pragma once

#include <QLabel>

class Picture_label : public QLabel {
    Q_OBJECT

public:
    explicit Picture_label(QWidget* parent = nullptr);

signals:
    void openFileReq();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
