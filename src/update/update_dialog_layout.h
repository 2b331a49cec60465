// Where the parts of the two update dialogs go, as plain arithmetic over sizes.
#pragma once

#include <windows.h>

#include <string>

// trunc(n × scale), the dialogs' one way of scaling a design length.
int ScaledLength(int n, float scale);

struct UpdateListLayoutInput {
  SIZE client;
  float scale;
  SIZE link;           // the measured link text
  SIZE remind_button;  // each button's own size (text plus margins)
  SIZE update_button;
};

struct UpdateListLayout {
  int band_height;  // the coloured band; a 2-pixel line under it
  POINT heading;    // top-left of the heading text
  RECT notes;
  RECT link;
  RECT remind_button;
  RECT update_button;
};

UpdateListLayout LayOutUpdateList(const UpdateListLayoutInput& input);

// The notes box gets its vertical scroll bar only for more lines than fit: Scale(9).
bool NotesNeedScrollBar(int line_count, float scale);

// "(<downloaded label> <done>, <total label> <total>)", the download dialog's amounts line.
std::wstring DownloadAmountsText(const std::wstring& downloaded_label, const std::wstring& done,
                                 const std::wstring& total_label, const std::wstring& total);
