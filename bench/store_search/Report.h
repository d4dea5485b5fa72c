// The benchmark's printed result: each figure with its goal, then the checks of what the reader found.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "IoCounter.h"

namespace storebench {

struct Figure {
    std::string name;
    std::string value;
    std::string goal;
    std::optional<bool> met;  // none: shown for comparison only
    std::optional<IoCount> io;
    std::string ioNote;  // what the read counts cover
};

struct Check {
    std::string name;
    bool ok = false;
    std::string detail;
};

class Report {
public:
    void add(Figure figure) { figures_.push_back(std::move(figure)); }
    void add(Check check) { checks_.push_back(std::move(check)); }
    void print(std::ostream& out) const;

private:
    std::vector<Figure> figures_;
    std::vector<Check> checks_;
};

// "12.34 ms" style numbers for the table.
std::string fixed(double value, int decimals, const char* unit);

}  // namespace storebench
