#include "view/internal/button_state.h"

namespace vantorel {

namespace {

Reaction Keep(int state) {
  Reaction r;
  r.state = state;
  return r;
}

Reaction Swallowed(int state, Repaint repaint) {
  Reaction r;
  r.state = state;
  r.repaint = repaint;
  r.pass_on = false;
  r.release_capture = true;
  return r;
}

}  // namespace

Reaction React(ImgButtonMachine& b, MouseEvent event) {
  const bool push = b.kind == 0;
  Reaction r = Keep(b.state);
  switch (event) {
    case MouseEvent::kDown:
      r.state = kStatePressed;
      if (!push) b.checked = !b.checked;
      r.repaint = push ? Repaint::kAll : Repaint::kCheckRect;
      break;
    case MouseEvent::kUpInside:
    case MouseEvent::kUpOutside:
      r.state = kStateNormal;
      if (push) r.repaint = Repaint::kAllErase;
      if (event == MouseEvent::kUpOutside) r = Swallowed(r.state, r.repaint);
      break;
    case MouseEvent::kHover:
      // A button disabled under the pointer keeps looking disabled.
      if (b.state == kStateDisabled) break;
      r.state = kStateHover;
      if (push) r.repaint = Repaint::kAll;
      break;
    case MouseEvent::kLeave:
      if (b.state == kStateDisabled) break;
      r.state = kStateNormal;
      if (push) r.repaint = Repaint::kAllErase;
      break;
    case MouseEvent::kClick:
      r.state = kStatePressed;
      break;
  }
  b.state = r.state;
  return r;
}

Reaction React(SwitchButtonMachine& b, MouseEvent event) {
  Reaction r = Keep(b.state);
  switch (event) {
    case MouseEvent::kDown:
      b.state_before_press = b.state;
      r.state = kStatePressed;
      r.repaint = Repaint::kAll;
      break;
    case MouseEvent::kUpInside:
      if (b.state != kStatePressed) break;
      r.repaint = Repaint::kAll;
      break;
    case MouseEvent::kUpOutside:
      if (b.state != kStatePressed) break;
      // No click happened: a radio button must not look chosen when its owner never heard.
      r = Swallowed(b.radio ? b.state_before_press : b.state, Repaint::kAll);
      break;
    case MouseEvent::kHover:
      if (b.state == kStateDisabled || (b.radio && b.state == kStatePressed)) break;
      r.state = kStateHover;
      r.repaint = Repaint::kAll;
      break;
    case MouseEvent::kLeave:
      if (b.state == kStateDisabled || (b.radio && b.state == kStatePressed)) {
        r.repaint = Repaint::kAll;
        break;
      }
      r.state = kStateNormal;
      r.repaint = Repaint::kAll;
      break;
    case MouseEvent::kClick:
      r.state = kStatePressed;
      break;
  }
  b.state = r.state;
  return r;
}

Reaction React(SwitchImageMachine& b, MouseEvent event) {
  Reaction r = Keep(b.state);
  switch (event) {
    case MouseEvent::kDown:
      if (b.state != kStatePressed) {
        b.state_before_press = b.state;
        r.state = kStatePressed;
        b.click_completed = false;
        r.repaint = Repaint::kAll;
      } else if (!b.delete_hit) {
        r.pass_on = false;  // already selected: only the delete glyph still reacts
      } else {
        b.state_before_press = kStatePressed;
      }
      break;
    case MouseEvent::kUpInside:
    case MouseEvent::kUpOutside:
      if (b.state != kStatePressed) break;
      if (!b.radio) r.state = kStateNormal;
      b.click_completed = true;
      r.repaint = Repaint::kAll;
      if (event == MouseEvent::kUpOutside) {
        if (b.radio) r.state = b.state_before_press;
        r = Swallowed(r.state, Repaint::kAll);
      }
      break;
    case MouseEvent::kHover:
      if (b.hover && b.state == kStateNormal) {
        r.state = kStateHover;
        r.repaint = Repaint::kAll;
      }
      break;
    case MouseEvent::kLeave:
      if (b.state == kStateHover ||
          (b.state != kStateDisabled && (!b.radio || !b.click_completed))) {
        r.state = kStateNormal;
      }
      r.repaint = Repaint::kAll;
      break;
    case MouseEvent::kClick:
      r.state = kStatePressed;
      break;
  }
  b.state = r.state;
  return r;
}

Reaction React(SectionMachine& b, MouseEvent event) {
  Reaction r = Keep(b.state);
  switch (event) {
    case MouseEvent::kDown:
      r.state = kStatePressed;
      break;
    case MouseEvent::kUpInside:
    case MouseEvent::kUpOutside:
      if (!b.check_style) r.state = kStateNormal;
      break;
    case MouseEvent::kHover:
      if (b.state == kStateDisabled || (b.check_style && b.state == kStatePressed)) break;
      r.state = kStateHover;
      break;
    case MouseEvent::kLeave:
      if (b.state == kStateDisabled || (b.check_style && b.state == kStatePressed)) break;
      r.state = kStateNormal;
      break;
    case MouseEvent::kClick:
      r.state = kStatePressed;
      break;
  }
  b.state = r.state;
  return r;
}

}  // namespace vantorel
