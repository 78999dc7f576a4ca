// Unit BMPAGE, the module: every live TBMPageControl in one list under one lock, and a 10 ms
// one-shot multimedia timer that re-arms itself from program start to exit. Each tick walks the
// list under the lock and advances every control's flash state (TBMPageControl::
// UpdateHighlighted) on the timer's thread.
#pragma once

class TBMPageControl;

class TBMPageModule {
public:
  // Called by the page control's constructor and destructor. A control made before the module's
  // start-up code ran starts the module; after module end both do nothing.
  static void Register(TBMPageControl* Control);
  static void Unregister(TBMPageControl* Control);
  // Live page controls in the list.
  static int ControlCount();
  // The module is between its start and its end.
  static bool Running();

  // Ticks since module start (every tick counts, whether or not it walks), and the thread the
  // last one ran on.
  static unsigned TickCount();
  static unsigned long TickThreadId();

  // Test hook, the tick source of the flash cycle: while held, the timer keeps firing and
  // counting but does not walk the list; StepWalk walks it once on the calling thread, under the
  // lock, as a tick would.
  static void HoldWalk(bool Held);
  static void StepWalk();
};

// The module lock (re-entrant), taken for the scope of the guard. It guards the list and the
// flash state of every page control; before module start and after module end it is no lock.
class TBMPageLock {
public:
  TBMPageLock();
  ~TBMPageLock();
  TBMPageLock(const TBMPageLock&) = delete;
  TBMPageLock& operator=(const TBMPageLock&) = delete;
private:
  void* FLock;
};
