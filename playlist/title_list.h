#pragma once
// The title list: the playlist being edited. The rows live here; the list
// view only shows them (owner data), so adding or removing many rows costs
// one repaint, not one per row.
#include <windows.h>

#include <string>
#include <vector>

namespace tunerolle {

enum class TitleIcon { None, Mp3, Wma };

struct TitleRow {
    std::wstring title;
    std::wstring location;
    TitleIcon icon = TitleIcon::None;
};

// The two columns, "Titres" and "Emplacement", at their starting widths.
void AddTitleColumns(HWND view);
HWND CreateTitleList(int id, HWND parent, int x, int y, int width, int height, HICON mp3Icon,
                     HICON wmaIcon);

const std::vector<TitleRow>& TitleRows();
int TitleCount();
bool HasTitleLocation(const std::wstring& location);

// Appends rows and shows them with a single update of the view.
void AppendTitles(std::vector<TitleRow> rows);
void ReplaceTitles(std::vector<TitleRow> rows);
void ClearTitles();
// Removes the rows at these positions (ascending) and clears the selection.
void RemoveTitles(const std::vector<int>& positions);

// Selection as the list view reports it.
int FirstSelectedTitle();  // -1 when none
std::vector<int> SelectedTitles();  // ascending
UINT TitleState(int position);  // LVIS_* bits
void SelectTitles(const std::vector<int>& positions);

std::wstring TitleHeaderText();
void SetTitleHeaderText(const std::wstring& text);

}  // namespace tunerolle
