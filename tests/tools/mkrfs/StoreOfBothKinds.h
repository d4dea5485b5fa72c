// A table of cases run on a hard disk's folder store and on an SD card's: the fixture writes the
// case's scenario as the kind asks and keeps the manifest; tests are named "<case>_disk", "<case>_sd".
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <tuple>

#include "StoreReadBack.h"
#include "TempDir.h"
#include "rfssim/StoreWriter.h"

namespace rfssim {
// Names the kind in the description of a parameterised test.
inline void PrintTo(StoreKind kind, std::ostream* os) {
    *os << (kind == StoreKind::SdCard ? "SD card" : "hard disk");
}
}  // namespace rfssim

template <typename Case>
class StoreOfBothKinds : public ::testing::TestWithParam<std::tuple<Case, rfssim::StoreKind>> {
protected:
    const Case& testCase() const { return std::get<0>(this->GetParam()); }
    rfssim::StoreKind kind() const { return std::get<1>(this->GetParam()); }

    void write(rfssim::Scenario scenario) {
        scenario.layout = rfssim::StoreLayout::Directory;
        scenario.kind = kind();
        manifest_ = rfssim::writeStore(scenario, dir_.path() / "store");
    }
    WrittenStore store() const { return WrittenStore(dir_.path() / "store", rfssim::StoreLayout::Directory); }

    TempDir dir_;
    rfssim::StoreManifest manifest_;
};

inline auto bothStoreKinds() {
    return ::testing::Values(rfssim::StoreKind::HardDisk, rfssim::StoreKind::SdCard);
}

struct CaseAndKindName {
    template <typename Case>
    std::string operator()(const ::testing::TestParamInfo<std::tuple<Case, rfssim::StoreKind>>& info) const {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == rfssim::StoreKind::SdCard ? "_sd" : "_disk");
    }
};
