#pragma once

#include <array>
#include <vector>

#include "ChannelTable.h"

// Which pages a print job has and what each page number shows. No widgets, no painting.
namespace cps::print {

// The report's sections in their fixed order; the index is used throughout.
enum Section { kDtmf, kMsk, kOptional, kTwoTone, kChannels, kSectionCount };

struct SectionInfo {
    int controlId;     // the PrintList dialog's check box
    const char* text;  // its text (the same in both languages)
    const char* name;  // the name `cps print --sections` takes
    bool defaultOn;
};
extern const SectionInfo kSections[kSectionCount];

using Choice = std::array<bool, kSectionCount>;
// Optional features and Channel information, as every PrintList opening starts.
Choice defaultChoice();

// The channel section's pages. A filled channel is a grid row (1 to 129) whose receive
// frequency cell is not empty; every fifth filled channel closes a page.
struct ChannelPages {
    int filled = 0;
    std::vector<int> boundaries{0};  // boundary 0 is row 0, boundary j the row of the 5j-th

    int pages() const { return (filled + kPerPage - 1) / kPerPage; }
    // Grid rows page k (1-based) covers; the last page always runs to row 129.
    int firstRow(int page) const;
    int lastRow(int page) const;

    static constexpr int kPerPage = 5;
};
ChannelPages countChannelPages(const ChannelTable& table);
bool isFilled(const ChannelTable& table, int row);

enum class PageKind { None, Dtmf, Msk, Optional, TwoToneDecode, TwoToneEncode, Channels };

struct PageRef {
    PageKind kind = PageKind::None;
    int channelPage = 0;  // 1-based within the channel section
};

// The selection handed to printing, with the page counts and the derived numbers.
struct Job {
    Choice selected{};
    std::array<int, kSectionCount> pages{};
    int maxPage = 0;         // the job's last page; 0 when the choice gives no page
    int beforeChannels = 0;  // pages of the chosen sections before the channel section

    // What page n (1-based) of the job shows; None outside 1..maxPage.
    PageRef locate(int n) const;
};

// Page counts 1, 1, 1, 2 and the counted channel pages; the sums over the chosen sections.
Job prepareJob(const Choice& selected, const ChannelTable& table);

}  // namespace cps::print
