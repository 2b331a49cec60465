// The thread's message pump with pre-translation filters and idle handlers.
#pragma once

#include <windows.h>

#include <vector>

class CMessageFilter {
 public:
  // TRUE when the message was consumed and must not be translated or dispatched.
  virtual BOOL PreTranslateMessage(MSG* msg) = 0;

 protected:
  ~CMessageFilter() = default;
};

class CIdleHandler {
 public:
  virtual BOOL OnIdle() = 0;

 protected:
  ~CIdleHandler() = default;
};

// Filters and handlers may add or remove themselves (or others) while being called; a
// removed one is not called again, even later in the same pass.
class CMessageLoop {
 public:
  CMessageLoop() = default;
  virtual ~CMessageLoop() = default;
  CMessageLoop(const CMessageLoop&) = delete;
  CMessageLoop& operator=(const CMessageLoop&) = delete;

  BOOL AddMessageFilter(CMessageFilter* filter);
  BOOL RemoveMessageFilter(CMessageFilter* filter);
  BOOL AddIdleHandler(CIdleHandler* handler);
  BOOL RemoveIdleHandler(CIdleHandler* handler);

  // Pumps until WM_QUIT and returns its wParam.
  int Run();

  // Calls every idle handler in registration order; FALSE: no idle work is left.
  virtual BOOL OnIdle(int idle_count);
  // Offers the message to the filters, newest first, until one takes it.
  virtual BOOL PreTranslateMessage(MSG* msg);
  // FALSE for the frequent messages after which idle processing is not worth re-running.
  static BOOL IsIdleMessage(MSG* msg);

  MSG m_msg{};

 private:
  template <class T>
  struct Registry {
    std::vector<T*> items;  // null marks an entry removed during a pass
    int passes = 0;         // passes in progress (calls may nest)
    bool holes = false;
    BOOL Add(T* item);
    BOOL Remove(T* item);
    void EndPass();
  };

  Registry<CMessageFilter> filters_;
  Registry<CIdleHandler> idle_handlers_;
};
