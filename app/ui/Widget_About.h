// The about page: the program's picture, name, shipped version and build time.
#pragma once

#include "Widget_DialogBase.h"

class Widget_About : public Widget_DialogBase {
    Q_OBJECT

public:
    explicit Widget_About(QWidget* parent = nullptr);
};
