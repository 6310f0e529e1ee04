#pragma once
// The windows that pause a running level while they are shown. A window that resumes the level when
// it hides asks here first: the level resumes only when no other of these is still shown.

class JCWindow;
class JCWindowManager;

// Whether a pausing window other than `self` (null: any) is shown.
bool OtherPausingWindowShown(const JCWindowManager& windows, const JCWindow* self);
