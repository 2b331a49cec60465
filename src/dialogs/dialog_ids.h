// Control identifiers and end codes shared by every dialog, and the one dialog template.
#pragma once

constexpr int kDialogTemplateId = 201;

constexpr int kCloseButtonId = 5050;      // title-band close; a message dialog's "no choice"
constexpr int kPrimaryButtonId = 5051;    // OK
constexpr int kSecondaryButtonId = 5052;  // Cancel
constexpr int kExpanderButtonId = 5053;   // progress details; settings list; about link
constexpr int kDetailControlId = 5054;    // message link control, progress failure box

// Show commands as Show() takes them.
constexpr int kShowNormal = 5;  // SW_SHOW
