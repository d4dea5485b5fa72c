// tarn: inspect, search and export recorder stores from the command line.
#include <CLI/CLI.hpp>

#include "DaysCommand.h"
#include "ExportCommand.h"
#include "InfoCommand.h"
#include "LabelsCommand.h"
#include "PictureCommand.h"
#include "PicturesCommand.h"
#include "SearchCommand.h"
#include "ThumbnailCommand.h"

int main(int argc, char** argv) {
    CLI::App app{
        "tarn: inspect, search and export recorder stores (directories, disk images, block devices, SD cards)"};
    app.require_subcommand(1);
    int exitStatus = 0;
    tarn::addInfoCommand(app, exitStatus);
    tarn::addDaysCommand(app, exitStatus);
    tarn::addSearchCommand(app, exitStatus);
    tarn::addExportCommand(app, exitStatus);
    tarn::addLabelsCommand(app, exitStatus);
    tarn::addLabelCommand(app, exitStatus);
    tarn::addPicturesCommand(app, exitStatus);
    tarn::addPictureCommand(app, exitStatus);
    tarn::addThumbnailCommand(app, exitStatus);
    CLI11_PARSE(app, argc, argv);
    return exitStatus;
}
