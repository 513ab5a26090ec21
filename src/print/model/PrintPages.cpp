#include "PrintPages.h"

namespace cps::print {

const SectionInfo kSections[kSectionCount] = {
    {1045, "DTMF", "dtmf", false},
    {1246, "MSK", "msk", false},
    {1247, "Optional", "optional", true},
    {1248, "2-Tone", "2tone", false},
    {1249, "Channel Info", "channels", true},
};

Choice defaultChoice() {
    Choice c{};
    for (int s = 0; s < kSectionCount; ++s) c[s] = kSections[s].defaultOn;
    return c;
}

bool isFilled(const ChannelTable& table, int row) { return !table.text(row, 1).isEmpty(); }

ChannelPages countChannelPages(const ChannelTable& table) {
    ChannelPages p;
    for (int row = 1; row <= kChannelCount; ++row) {
        if (!isFilled(table, row)) continue;
        ++p.filled;
        if (p.filled % ChannelPages::kPerPage == 0) p.boundaries.push_back(row);
    }
    return p;
}

int ChannelPages::firstRow(int page) const {
    if (page < 1 || page > pages()) return kChannelCount + 1;
    return boundaries[static_cast<size_t>(page - 1)] + 1;
}

int ChannelPages::lastRow(int page) const {
    if (page < 1 || page > pages()) return kChannelCount;
    if (page == pages() || static_cast<size_t>(page) >= boundaries.size()) return kChannelCount;
    return boundaries[static_cast<size_t>(page)];
}

Job prepareJob(const Choice& selected, const ChannelTable& table) {
    Job job;
    job.selected = selected;
    job.pages = {1, 1, 1, 2, countChannelPages(table).pages()};
    for (int s = 0; s < kSectionCount; ++s) {
        if (!selected[s]) continue;
        job.maxPage += job.pages[s];
        if (s < kChannels) job.beforeChannels += job.pages[s];
    }
    return job;
}

PageRef Job::locate(int n) const {
    if (n < 1 || n > maxPage) return {};
    // Walk the sections; pages of the sections left out push the page's place in the
    // full report further on.
    int chosen = 0;
    int skipped = 0;
    for (int s = 0; s < kSectionCount; ++s) {
        if (selected[s]) {
            chosen += pages[s];
        } else {
            skipped += pages[s];
        }
        if (selected[s] && chosen >= n) break;
    }
    const int v = n + skipped;
    switch (v) {
        case 1:
            return {PageKind::Dtmf, 0};
        case 2:
            return {PageKind::Msk, 0};
        case 3:
            return {PageKind::Optional, 0};
        case 4:
            return {PageKind::TwoToneDecode, 0};
        case 5:
            return {PageKind::TwoToneEncode, 0};
        default:
            return {PageKind::Channels, n - beforeChannels};
    }
}

}  // namespace cps::print
