// The benchmark's table: one Markdown table per section, each row a measure
// with its figure and, where it has one, its floor, ratio, target and verdict.
#pragma once

#include <string>
#include <vector>

namespace bench {

// "412 us", "3.91 ms", "1.25 s".
std::string duration(double microseconds);

class Report {
public:
    void section(const std::string& title);
    // A figure without a target.
    void figure(const std::string& measure, const std::string& value, const std::string& floor = "",
                const std::string& ratio = "");
    // A time held to a floor: met when time / floor is at most `target`
    // (a target of 0 only shows the ratio).
    void ratio(const std::string& measure, double micros, const std::string& floorName, double floorMicros,
               double target);
    // A figure with a verdict of its own.
    void check(const std::string& measure, const std::string& value, const std::string& target, bool met);

    // Every verdict so far is "met".
    bool allMet() const { return missed_.empty(); }
    const std::vector<std::string>& missed() const { return missed_; }
    // Prints the sections as they come in; rows appear as soon as they are made.
    void flush();

private:
    struct Row {
        std::string measure, value, floor, ratio, target, verdict;
    };
    struct Section {
        std::string title;
        std::vector<Row> rows;
        size_t printed = 0;
        bool headed = false;
    };
    void add(Row row);

    std::vector<Section> sections_;
    std::vector<std::string> missed_;
};

}  // namespace bench
