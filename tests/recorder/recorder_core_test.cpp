// The recorder's rules that need no screen: pacing, colour conversion, states, texts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame_clock.h"
#include "recorder_state.h"
#include "recorder_texts.h"
#include "yuv_convert.h"

namespace {

TEST(FrameClock, TakesEverySlotOnTimeAndCountsWhatALateCaptureMissed) {
  const FrameClock clock(30);
  struct Case {
    int64_t last;
    int64_t elapsed_us;
    FrameSlot expected;
  };
  const Case cases[] = {
      {-1, 0, {0, 0, 0}},             // the first slot at once
      {0, 10000, {1, 0, 23333}},      // early: wait for slot 1 at 33 333 us
      {0, 33333, {1, 0, 0}},          // exactly on time
      {0, 40000, {1, 0, 0}},          // late within the slot: still slot 1
      {0, 70000, {2, 1, 0}},          // slot 1 passed unused: missed
      {5, 1000000, {30, 24, 0}},      // a stall of most of a second
      {89, 3000000, {90, 0, 0}},      // no drift after 3 s: slot 90 starts at 3 s exactly
  };
  for (const Case& c : cases) {
    const FrameSlot slot = clock.Next(c.last, c.elapsed_us);
    EXPECT_EQ(slot.index, c.expected.index) << c.last << " at " << c.elapsed_us;
    EXPECT_EQ(slot.missed, c.expected.missed) << c.last << " at " << c.elapsed_us;
    EXPECT_EQ(slot.wait_us, c.expected.wait_us) << c.last << " at " << c.elapsed_us;
  }
  EXPECT_EQ(FrameClock(0).period_us(), 1000000);  // a bad rate still paces
}

TEST(ColourConversion, GivesStudioRangeLumaAndChromaForKnownColours) {
  struct Case {
    uint8_t b, g, r;
    uint8_t y, u, v;
  };
  const Case cases[] = {
      {0, 0, 0, 16, 128, 128},      {255, 255, 255, 235, 128, 128},
      {0, 0, 255, 82, 90, 240},     {0, 255, 0, 145, 54, 34},
      {255, 0, 0, 41, 240, 110},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> pixels(4 * 4 * 2);  // 4 x 2 of one colour
    for (size_t i = 0; i < pixels.size(); i += 4) {
      pixels[i] = c.b;
      pixels[i + 1] = c.g;
      pixels[i + 2] = c.r;
    }
    const BgrxImage image = {pixels.data(), 4, 2, 16};
    std::vector<uint8_t> y(8), u(2), v(2), uv(4);
    BgrxToI420(image, y.data(), u.data(), v.data());
    EXPECT_NEAR(y[0], c.y, 1);
    EXPECT_NEAR(y[7], c.y, 1);
    EXPECT_NEAR(u[1], c.u, 1);
    EXPECT_NEAR(v[1], c.v, 1);
    std::vector<uint8_t> y2(8);
    BgrxToNv12(image, y2.data(), uv.data());
    EXPECT_EQ(y, y2);
    EXPECT_EQ(uv[2], u[1]);
    EXPECT_EQ(uv[3], v[1]);
  }
}

TEST(ColourConversion, AveragesChromaOverEachTwoByTwoBlockOnly) {
  // Left block red, right block blue: the chroma of one must not bleed into the other.
  std::vector<uint8_t> pixels(4 * 4 * 2, 0);
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 4; ++column) {
      uint8_t* p = &pixels[row * 16 + column * 4];
      (column < 2 ? p[2] : p[0]) = 255;
    }
  }
  std::vector<uint8_t> y(8), u(2), v(2);
  BgrxToI420({pixels.data(), 4, 2, 16}, y.data(), u.data(), v.data());
  EXPECT_NEAR(v[0], 240, 1);
  EXPECT_NEAR(u[1], 240, 1);
}

TEST(RecorderStates, RefuseWhatMakesNoSenseWithTheReasonTheUserReads) {
  struct Case {
    RecorderState state;
    Refusal start;
    Refusal stop;
  };
  const Case cases[] = {
      {RecorderState::kIdle, Refusal::kNone, Refusal::kNotRecording},
      {RecorderState::kRecording, Refusal::kAlreadyRecording, Refusal::kNone},
      {RecorderState::kSaving, Refusal::kStillSaving, Refusal::kStillSaving},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CheckStart(c.state), c.start);
    EXPECT_EQ(CheckStop(c.state), c.stop);
  }
  EXPECT_EQ(RefusalTextKey(Refusal::kNone), nullptr);
  EXPECT_STREQ(RefusalTextKey(Refusal::kAlreadyRecording), "already-recording");
}

int CountPlaceholders(const std::string& text) {
  int count = 0;
  for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2)) ++count;
  return count;
}

TEST(RecorderTexts, EveryKeyInEveryLanguageWithTheSamePlaceholdersAsEnglish) {
  size_t count = 0;
  const TextRow* rows = RecorderTextRows(&count);
  ASSERT_GT(count, 0u);
  for (size_t i = 0; i < count; ++i) {
    for (int language = 0; language < kLanguageCount; ++language) {
      const char* text = rows[i].texts[language];
      ASSERT_NE(text, nullptr) << rows[i].key << " " << language;
      EXPECT_GT(std::strlen(text), 0u) << rows[i].key << " " << language;
      EXPECT_EQ(CountPlaceholders(text), CountPlaceholders(rows[i].key))
          << rows[i].key << " " << language;
    }
  }
  ModuleTexts texts(rows, count);
  texts.SetLanguage(LanguageFromSubDirectory("de/"));
  EXPECT_EQ(texts.Get("saving-recording"), L"Aufnahme wird gespeichert");
  texts.SetLanguage(LanguageFromSubDirectory(""));
  EXPECT_EQ(texts.Get("saving-recording"), L"Saving the recording");
  texts.SetLanguage(LanguageFromSubDirectory("xx/"));  // unknown: English
  EXPECT_EQ(texts.Get("saving-recording"), L"Saving the recording");
  EXPECT_EQ(texts.Get("no-such-key"), L"no-such-key");
}

}  // namespace
