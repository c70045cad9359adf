// Where long operations report their progress: a progress bar on the main window, a bar on the
// terminal, or nothing.
#pragma once

class IProgressSink {
public:
    virtual ~IProgressSink() = default;
    virtual void SetRange(int low, int high) = 0;
    virtual void SetPos(int pos) = 0;
};
