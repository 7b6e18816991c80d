#pragma once
// What the editor tests compare: message boxes as the responder saw them and
// title rows, both printable when an expectation fails.
#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "title_list.h"

struct Box {
    std::wstring caption;
    std::wstring text;
    UINT flags = 0;
    bool operator==(const Box&) const = default;
};

inline void PrintTo(const Box& box, std::ostream* os) {
    *os << testing::PrintToString(box.caption) << " / " << testing::PrintToString(box.text) << " / 0x"
        << std::hex << box.flags;
}

struct Row {
    std::wstring title;
    std::wstring location;
    tunerolle::TitleIcon icon;
    bool operator==(const Row&) const = default;
};

inline void PrintTo(const Row& row, std::ostream* os) {
    *os << "{" << testing::PrintToString(row.title) << ", " << testing::PrintToString(row.location) << ", "
        << static_cast<int>(row.icon) << "}";
}

// The title list's rows as they stand.
inline std::vector<Row> Rows() {
    std::vector<Row> rows;
    for (const tunerolle::TitleRow& r : tunerolle::TitleRows()) rows.push_back({r.title, r.location, r.icon});
    return rows;
}

inline std::vector<tunerolle::TitleRow> AsTitleRows(const std::vector<Row>& rows) {
    std::vector<tunerolle::TitleRow> out;
    for (const Row& r : rows) out.push_back({r.title, r.location, r.icon});
    return out;
}
