// What each button family does with the mouse, as pure transitions: the window code feeds in
// the event and applies the reaction (state, repaint, whether the system button sees it).
#pragma once

namespace vantorel {

enum ButtonState : int {
  kStateNormal = 0,
  kStatePressed = 1,  // the switch families: selected
  kStateHover = 2,
  kStateDisabled = 3,
};

enum class MouseEvent {
  kDown,
  kUpInside,
  kUpOutside,
  kHover,  // the pointer rests on the button (or the system button turns hot)
  kLeave,
  kClick,  // BM_CLICK
};

enum class Repaint {
  kNone,
  kCheckRect,  // only where the check image lies
  kAll,
  kAllErase,
};

struct Reaction {
  int state = kStateNormal;
  Repaint repaint = Repaint::kNone;
  bool pass_on = true;          // the system button handles the message too
  bool release_capture = false;  // a release outside: end the press, no click
};

// Image button. Kind 1 is a check box: a press toggles `checked`.
struct ImgButtonMachine {
  int state = kStateNormal;
  int kind = 0;
  bool checked = false;
};
Reaction React(ImgButtonMachine& button, MouseEvent event);

// Flat text button; a radio button stays selected after its click.
struct SwitchButtonMachine {
  int state = kStateNormal;
  bool radio = true;
  int state_before_press = kStateNormal;
};
Reaction React(SwitchButtonMachine& button, MouseEvent event);

// Flat image button with an optional delete glyph. `delete_hit` must be set by the caller
// for every press.
struct SwitchImageMachine {
  int state = kStateNormal;
  bool radio = true;
  bool hover = true;
  bool click_completed = false;
  bool delete_hit = false;
  int state_before_press = kStateNormal;
};
Reaction React(SwitchImageMachine& button, MouseEvent event);

// Section button (paints itself; hover comes from the system button's hot state).
struct SectionMachine {
  int state = kStateNormal;
  bool check_style = false;
};
Reaction React(SectionMachine& button, MouseEvent event);

}  // namespace vantorel
