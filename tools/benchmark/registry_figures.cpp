// registerProject, findProject and listProjects on registries of 10 to 10,000
// entries. Each is held to two floors taken on the same file: the bare parse
// from a stream (plus a save where the operation saves), and the least the DOM
// must be asked for the operation: the parse, the search by tag name and the
// attribute read of each entry (plus the save). Every call starts from the
// same registry file, copied back before it.
#include "bare_calls.h"
#include "fixtures.h"
#include "sections.h"
#include "store_functions.h"
#include "timing.h"

#include <windows.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

namespace bench {
namespace {

struct SizeFigures {
    int entries;
    double registration, lookUp, listing;
    double parse, parseAndSave;
    // The least the DOM must do for each operation.
    double leastRegistration, leastLookUp, leastListing;
};

// Entry buffers for a listing of up to `capacity` names.
struct Listing {
    explicit Listing(int capacity) : texts(static_cast<size_t>(capacity) * 256), entries(capacity)
    {
        for (int i = 0; i < capacity; ++i) entries[i].text = &texts[static_cast<size_t>(i) * 256];
    }
    std::vector<char> texts;
    std::vector<tallow::ListEntry> entries;
};

SizeFigures measureSize(const Workspace& workspace, const std::string& newProject, int entries, int calls)
{
    const std::string registry = workspace / "RegisteredProjects.xml";
    const std::string original = workspace / ("registry-" + std::to_string(entries) + ".xml");
    const std::string saved = workspace / "saved.xml";
    const std::string name = lastProjectName(entries);
    writeRegistry(original, entries);
    auto restore = [&] {
        if (!CopyFileA(original.c_str(), registry.c_str(), FALSE)) throw std::runtime_error("cannot copy registry");
    };
    restore();

    Listing listing(entries);
    BareDocument bare;
    int count = 0;
    if (tallow::registerProjectFile(newProject.c_str()) != 1) throw std::runtime_error("registration failed");
    {
        tallow::ProjectStore store;
        if (store.findProject(name.c_str()) != 1) throw std::runtime_error("look-up failed");
    }
    if (tallow::getRegisteredProjects(listing.entries.data(), entries, &count) != 1 || count != entries + 1)
        throw std::runtime_error("listing failed");

    // A registration parses, searches, reads every name and saves; a look-up
    // does the same without the save; a listing counts (parse, search) and
    // then lists (parse, search, reads).
    auto searchAndRead = [&] {
        bare.loadFromStream(registry);
        bare.search(L"Project");
        bare.readEach(L"Name");
    };
    const std::vector<double> t = timeInTurns(
        {
            {[&] { tallow::registerProjectFile(newProject.c_str()); }, restore},
            {[&] {
                 tallow::ProjectStore store;
                 store.findProject(name.c_str());
             },
             restore},
            {[&] { tallow::getRegisteredProjects(listing.entries.data(), entries, &count); }, restore},
            {[&] { bare.loadFromStream(registry); }, restore},
            {[&] {
                 bare.loadFromStream(registry);
                 bare.save(saved);
             },
             restore},
            {[&] {
                 searchAndRead();
                 bare.save(saved);
             },
             restore},
            {searchAndRead, restore},
            {[&] {
                 bare.loadFromStream(registry);
                 bare.search(L"Project");
                 searchAndRead();
             },
             restore},
        },
        calls, 1);
    return SizeFigures{entries, t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7]};
}

void sizeRows(Report& report, const SizeFigures& f)
{
    const double target = f.entries == 10000 ? 1.5 : 0;
    const std::string at = ", " + std::to_string(f.entries) + " entries";
    report.ratio("registerProject" + at, f.registration, "parse + save", f.parseAndSave, target);
    report.ratio("registerProject" + at, f.registration, "DOM least (parse, search, reads, save)",
                 f.leastRegistration, target);
    report.ratio("findProject" + at, f.lookUp, "parse", f.parse, target);
    report.ratio("findProject" + at, f.lookUp, "DOM least (parse, search, reads)", f.leastLookUp, target);
    report.ratio("listProjects" + at, f.listing, "2 parses", 2 * f.parse, target);
    report.ratio("listProjects" + at, f.listing, "DOM least (2 parses, 2 searches, reads)", f.leastListing,
                 target);
    report.figure("per entry" + at,
                  "register " + duration(f.registration / f.entries) + ", find " +
                      duration(f.lookUp / f.entries) + ", list " + duration(f.listing / f.entries),
                  "parse " + duration(f.parse / f.entries) + ", search and read " +
                      duration((f.leastLookUp - f.parse) / f.entries));
}

}  // namespace

void registryFigures(Report& report, const Workspace& workspace, const Settings& settings)
{
    report.section("Project registry (store operations, each on a store of its own)");
    const std::string folder = workspace / "NewProject";
    const std::string newProject = folder + "\\NewProject.project";
    CreateDirectoryA(folder.c_str(), nullptr);
    writeFile(newProject, "<Project><Name>NewProject</Name><Comment>Added</Comment><Location>" + folder +
                              "</Location></Project>\n");

    std::vector<SizeFigures> sizes;
    for (int entries : {10, 100, 1000, 10000}) {
        const int calls = std::max(9, settings.calls * 10 / (entries + 30));
        sizes.push_back(measureSize(workspace, newProject, entries, calls));
        sizeRows(report, sizes.back());
    }

    // Cost per entry must not grow with the registry. At 100 entries the
    // fixed cost of a call (its store, lock and file operations) still
    // weighs on each entry; from 1,000 on the entries' own cost shows.
    const SizeFigures& hundred = sizes[1];
    const SizeFigures& thousand = sizes[2];
    const SizeFigures& tenThousand = sizes[3];
    auto flat = [&](const char* operation, double SizeFigures::*figure) {
        const double at100 = hundred.*figure / hundred.entries;
        const double at1000 = thousand.*figure / thousand.entries;
        const double at10000 = tenThousand.*figure / tenThousand.entries;
        const bool met = at1000 <= 2 * at100 && at10000 <= 2 * at100 && at10000 <= 2 * at1000 && at1000 <= 2 * at10000;
        report.check(std::string(operation) + ": per entry at 100, 1,000, 10,000",
                     duration(at100) + ", " + duration(at1000) + ", " + duration(at10000),
                     "never 2x the one at 100; 1,000 and 10,000 within 2x", met);
    };
    flat("registerProject", &SizeFigures::registration);
    flat("findProject", &SizeFigures::lookUp);
    flat("listProjects", &SizeFigures::listing);
}

}  // namespace bench
