#include "recorder_state.h"

Refusal CheckStart(RecorderState state) {
  switch (state) {
    case RecorderState::kIdle:
      return Refusal::kNone;
    case RecorderState::kRecording:
      return Refusal::kAlreadyRecording;
    case RecorderState::kSaving:
      return Refusal::kStillSaving;
  }
  return Refusal::kNone;
}

Refusal CheckStop(RecorderState state) {
  switch (state) {
    case RecorderState::kRecording:
      return Refusal::kNone;
    case RecorderState::kIdle:
      return Refusal::kNotRecording;
    case RecorderState::kSaving:
      return Refusal::kStillSaving;
  }
  return Refusal::kNone;
}

const char* RefusalTextKey(Refusal refusal) {
  switch (refusal) {
    case Refusal::kNone:
      return nullptr;
    case Refusal::kAlreadyRecording:
      return "already-recording";
    case Refusal::kNotRecording:
      return "not-recording";
    case Refusal::kStillSaving:
      return "still-saving";
  }
  return nullptr;
}
