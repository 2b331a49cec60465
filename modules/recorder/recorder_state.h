// What the recorder may do in each state, and the reason it gives when it may not.
// Pure, so the rules are tested as a table.
#pragma once

enum class RecorderState { kIdle, kRecording, kSaving };

enum class Refusal {
  kNone,
  kAlreadyRecording,
  kNotRecording,
  kStillSaving,
};

Refusal CheckStart(RecorderState state);
Refusal CheckStop(RecorderState state);
// The catalogue key of the alert for a refusal; null for kNone.
const char* RefusalTextKey(Refusal refusal);
