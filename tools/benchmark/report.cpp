#include "report.h"

#include <cstdio>

namespace bench {
namespace {

std::string format(const char* pattern, double value)
{
    char text[64];
    snprintf(text, sizeof text, pattern, value);
    return text;
}

}  // namespace

std::string duration(double microseconds)
{
    if (microseconds < 10) return format("%.2f us", microseconds);
    if (microseconds < 1000) return format("%.0f us", microseconds);
    if (microseconds < 1e6) return format("%.2f ms", microseconds / 1000);
    return format("%.2f s", microseconds / 1e6);
}

void Report::section(const std::string& title)
{
    sections_.push_back(Section{title, {}});
}

void Report::add(Row row)
{
    if (sections_.empty()) section("");
    if (row.verdict == "MISSED") missed_.push_back(sections_.back().title + ": " + row.measure);
    sections_.back().rows.push_back(std::move(row));
    flush();
}

void Report::figure(const std::string& measure, const std::string& value, const std::string& floor,
                    const std::string& ratio)
{
    add(Row{measure, value, floor, ratio, "", ""});
}

void Report::ratio(const std::string& measure, double micros, const std::string& floorName, double floorMicros,
                   double target)
{
    const double value = floorMicros > 0 ? micros / floorMicros : 0;
    Row row{measure, duration(micros), floorName + " " + duration(floorMicros), format("%.2f", value), "", ""};
    if (target > 0) {
        row.target = format("<= %.1f", target);
        row.verdict = value <= target ? "met" : "MISSED";
    }
    add(std::move(row));
}

void Report::check(const std::string& measure, const std::string& value, const std::string& target, bool met)
{
    add(Row{measure, value, "", "", target, met ? "met" : "MISSED"});
}

void Report::flush()
{
    for (Section& s : sections_) {
        if (!s.headed) {
            printf("\n#### %s\n\n", s.title.c_str());
            printf("| Measure | Figure | Floor | Ratio | Target | Verdict |\n");
            printf("|---|---|---|---|---|---|\n");
            s.headed = true;
        }
        for (; s.printed < s.rows.size(); ++s.printed) {
            const Row& r = s.rows[s.printed];
            printf("| %s | %s | %s | %s | %s | %s |\n", r.measure.c_str(), r.value.c_str(), r.floor.c_str(),
                   r.ratio.c_str(), r.target.c_str(), r.verdict.c_str());
        }
    }
    fflush(stdout);
}

}  // namespace bench
