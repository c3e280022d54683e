#pragma once

#include "Callback.h"
#include "Platform.h"

#include <cstdint>

// Carries a quit message's code out of the frame loop.
class Windows_Msg {
public:
    explicit Windows_Msg(int code) : m_code(code) {}
    Windows_Msg(const Windows_Msg& other) : m_code(other.m_code) {}
    virtual ~Windows_Msg();

    int m_code;
};

// Handles at most one window message each time the frame loop calls it.
class Message_Pump : public QEV_Lib::Callback {
public:
    int call() override;

private:
    Platform::Message m_msg;
};

extern Platform::Window s_main_window;

void Create_Window(Platform::Instance instance, int show_command);
intptr_t Window_Proc(Platform::Window window, uint32_t message, uintptr_t wparam, intptr_t lparam);

// True when the command line asks for the show without sound.
bool Is_No_Sound(const char* command_line);

// The program: window, demo, frame loop; returns the exit code.
int WinMain(Platform::Instance instance, Platform::Instance previous_instance, const char* command_line,
            int show_command);
