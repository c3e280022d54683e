#include "Timer.h"

#include "Platform.h"

Timer* MM_Timer::s_timer = nullptr;

Timer* Timer::instance() { return MM_Timer::s_timer; }

Timer::~Timer() {}

MM_Timer::MM_Timer() : m_seconds(0.0) { s_timer = this; }

MM_Timer::~MM_Timer() { s_timer = nullptr; }

void MM_Timer::reset() { m_seconds = 0.0; }

void MM_Timer::update() { m_seconds = double(Platform::Current_Backend().milliseconds()) * 0.001; }

double MM_Timer::seconds() { return m_seconds; }
