#include "Message_Pump.h"

#include "Demo.h"
#include "Holder.h"

#include <cstring>

Platform::Window s_main_window = nullptr;

Windows_Msg::~Windows_Msg() {}

int Message_Pump::call() {
    Platform::Backend& platform = Platform::Current_Backend();
    if (!platform.peek_message(&m_msg))
        return 0;
    if (platform.get_message(&m_msg) == 0)
        throw Windows_Msg(int(m_msg.wparam));
    platform.translate_message(&m_msg);
    platform.dispatch_message(&m_msg);
    return 0;
}

intptr_t Window_Proc(Platform::Window window, uint32_t message, uintptr_t wparam, intptr_t lparam) {
    if (message == Platform::Msg_Destroy)
        return 0;
    return Platform::Current_Backend().default_window_proc(window, message, wparam, lparam);
}

void Create_Window(Platform::Instance, int) {
    Platform::Backend& platform = Platform::Current_Backend();
    s_main_window = platform.create_window("ZIR_Test", "Zizo", 640, 480, Window_Proc);
    platform.show_window(s_main_window);
}

bool Is_No_Sound(const char* command_line) { return std::strlen(command_line) > 1 && command_line[0] == '-'; }

int WinMain(Platform::Instance instance, Platform::Instance, const char* command_line, int show_command) {
    Create_Window(instance, show_command);
    bool nosound = Is_No_Sound(command_line);
    Holder<Demo> demo(new Demo(instance, s_main_window, nosound));
    Holder<QEV_Lib::Callback> pump(new Message_Pump);
    try {
        demo->run(pump.get());
    } catch (Windows_Msg& message) {
        int code = message.m_code;
        pump = Holder<QEV_Lib::Callback>();
        demo = Holder<Demo>();
        return code;
    }
    pump = Holder<QEV_Lib::Callback>();
    demo = Holder<Demo>();
    return 0;
}
