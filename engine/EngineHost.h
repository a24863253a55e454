#pragma once
// What the portable engine needs of its surroundings: somewhere to post
// progress and a cancel signal to poll. The exported object adapts these to
// a window and an event; tests use their own.

class IEngineNotify {
public:
    virtual ~IEngineNotify() = default;
    // Posted as engine progress (wParam 1) with the percent.
    virtual void PostProgress(int percent) = 0;
};

class ICancelSignal {
public:
    virtual ~ICancelSignal() = default;
    // Polled without waiting; true means stop.
    virtual bool IsSignalled() = 0;
};
