#include "update/update_dialog_layout.h"

int ScaledLength(int n, float scale) { return static_cast<int>(static_cast<float>(n) * scale); }

UpdateListLayout LayOutUpdateList(const UpdateListLayoutInput& input) {
  const float s = input.scale;
  const int width = input.client.cx;
  const int height = input.client.cy;
  UpdateListLayout layout = {};
  layout.band_height = ScaledLength(280, s);
  layout.heading = {ScaledLength(40, s), ScaledLength(40, s)};
  layout.notes = {ScaledLength(40, s), ScaledLength(80, s), width - ScaledLength(40, s),
                  ScaledLength(230, s)};
  const int link_top = height - ScaledLength(120, s);
  layout.link = {ScaledLength(40, s), link_top, ScaledLength(40, s) + input.link.cx,
                 link_top + input.link.cy};

  const int right = width - ScaledLength(20, s);
  const int bottom = height - ScaledLength(20, s);
  layout.remind_button = {right - input.remind_button.cx, bottom - input.remind_button.cy, right,
                          bottom};
  const int update_right = layout.remind_button.left - ScaledLength(20, s);
  layout.update_button = {update_right - input.update_button.cx, layout.remind_button.top,
                          update_right, bottom};
  return layout;
}

bool NotesNeedScrollBar(int line_count, float scale) {
  return line_count > ScaledLength(9, scale);
}

std::wstring DownloadAmountsText(const std::wstring& downloaded_label, const std::wstring& done,
                                 const std::wstring& total_label, const std::wstring& total) {
  return L"(" + downloaded_label + L" " + done + L", " + total_label + L" " + total + L")";
}
