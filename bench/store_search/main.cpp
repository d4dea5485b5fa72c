// store_search: how fast the disk reader searches and reads a full 4 TB recorder disk. Builds (once) a
// sparse image of the disk, attaches it and times the searches and reads warm in the page cache.
// A measurement, not a test: it prints its figures and exits 0.
#include <exception>
#include <iostream>

#include "IoCounter.h"
#include "KVPlayHDD.h"
#include "ReadMeasurements.h"
#include "Report.h"
#include "SearchMeasurements.h"
#include "StoreImage.h"
#include "StoreSummary.h"

using namespace storebench;

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::cerr << "usage: store_search [CACHE_FOLDER]   (default " STORE_SEARCH_DEFAULT_CACHE ")\n";
        return 2;
    }
    const std::filesystem::path folder = argc == 2 ? argv[1] : STORE_SEARCH_DEFAULT_CACHE;

    StoreLayout layout;
    std::filesystem::path image;
    try {
        layout = planStore();
        printStoreSummary(layout, std::cout);
        image = ensureStoreImage(folder, layout, std::cout);
    } catch (const std::exception& e) {
        std::cerr << "store_search: " << e.what() << '\n';
        return 1;
    }

    installIoCounter();
    KVrfs_init_hdd(64, 20);
    KVrfs_mode_set(0);
    const IoCount beforeAttach = ioCount();
    const int32_t attached = KVrfs_add_disk_hdd(kDiskId, image.c_str(), 0, 0, nullptr);
    Report report;
    report.add(Check{
        "attach the image", attached == 0,
        "result " + std::to_string(attached) + ", " + std::to_string((ioCount() - beforeAttach).calls) + " reads"});
    if (attached == 0) {
        measureSearches(layout, report);
        measureReads(layout, image, report);
        KVrfs_remove_disk_hdd(kDiskId);
    }
    report.print(std::cout);
    return 0;
}
