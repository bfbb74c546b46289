// The base of everything that handles commands: the application and windows.
#pragma once

class CCmdTarget {
 public:
  CCmdTarget() = default;
  virtual ~CCmdTarget() = default;
  CCmdTarget(const CCmdTarget&) = delete;
  CCmdTarget& operator=(const CCmdTarget&) = delete;

  // The wait cursor shows from the first Begin until the matching End; calls
  // nest. An End without a Begin is a fault of the program and changes
  // nothing.
  void BeginWaitCursor();
  void EndWaitCursor();
};
