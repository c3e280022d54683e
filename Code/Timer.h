#pragma once

// The clock, read once per frame by the frame loop.
class Timer {
public:
    static Timer* instance();
    virtual ~Timer();
    virtual void reset() = 0;
    virtual void update() = 0;
    virtual double seconds() = 0;
};

// The system's millisecond clock, in seconds.
class MM_Timer : public Timer {
public:
    MM_Timer();
    ~MM_Timer() override;
    void reset() override;
    void update() override;
    double seconds() override;

private:
    friend class Timer;
    static Timer* s_timer;
    double m_seconds;
};
