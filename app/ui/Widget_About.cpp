#include "Widget_About.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

#include "AppConfig.h"
#include "LanguageTable.h"
#include "Skin.h"

namespace {

constexpr int kNameText = 43;
constexpr int kVersionText = 44;

QLabel* namedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

Widget_About::Widget_About(QWidget* parent) : Widget_DialogBase(parent) {
    setObjectName("Mydialogwidget");
    resize(360, 179);

    auto* icon = namedLabel("m_LabIcon", QString(), this);
    icon->setFixedSize(48, 48);
    icon->setScaledContents(true);
    icon->setPixmap(QPixmap(Skin::iconFile("app.png")));

    const AppConfig& config = AppConfig::instance();
    const QString programName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(24, 24, 24, 12);
    grid->setHorizontalSpacing(12);
    grid->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(namedLabel("m_NameLab", LanguageTable::text(kNameText), this), 0, 1);
    grid->addWidget(namedLabel("m_LabName", ":  " + programName, this), 0, 2);
    grid->addWidget(namedLabel("m_VersionLab", LanguageTable::text(kVersionText), this), 1, 1);
    grid->addWidget(namedLabel("m_LabVersion", ":  " + config.version + "  " + config.buildTime, this), 1, 2);
    grid->addWidget(new QLabel(this), 2, 0, 1, 3);
    grid->setColumnStretch(2, 1);
    grid->setRowStretch(2, 1);
}
