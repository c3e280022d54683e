#include "Demo.h"

#include "Drum_Part.h"
#include "Grid_Part.h"
#include "Line_Part.h"
#include "Part.h"
#include "Tunnel_Part.h"
#include "Texture.h"

#include <algorithm>
#include <cstring>

Demo_Base::~Demo_Base() {}

Demo::Demo(Platform::Instance instance, Platform::Window window, bool nosound)
    : m_screen(new DDraw_Screen(instance, window, 640, 480, 32)),
      m_music(new Module_Music("tekno.xm", window, nosound)), m_timer(new MM_Timer) {
    Holder<Texture> letterbox = Load_Jpeg("texture/cinemascope.jpg");
    uint32_t* frame = m_screen->pixels();
    const uint8_t* picture = letterbox->pixels();
    int width = m_screen->width();
    m_screen->begin_frame(0);
    // A picture taller than the rows below row 60 is cut at the frame's end.
    size_t start = size_t(60) * width;
    size_t room = size_t(width) * m_screen->height() - start;
    size_t count = std::min(size_t(letterbox->width()) * letterbox->height(), room);
    std::memcpy(frame + start, picture, count * 4);
    m_screen->present();
}

Demo::~Demo() {}

int Scene_Slot(int order, int current_slot) {
    switch (order) {
    case 0:
        return 0;
    case 10:
    case 14:
    case 18:
        return 1;
    case 22:
        return 2;
    case 30:
        return 3;
    default:
        return current_slot;
    }
}

void Demo::run(QEV_Lib::Callback* callback) {
    Holder<Part> parts[4];
    const Scene_Params line_params = {0, 500, 0xff121f16};
    const Scene_Params drum_params = {1, 1500, 0xff065179};
    parts[0] = Create_Line_Part(m_screen.get(), &line_params);
    parts[1] = Create_Tunnel_Part(m_screen.get());
    parts[2] = Create_Grid_Part(m_screen.get());
    parts[3] = Create_Drum_Part(m_screen.get(), &drum_params);

    m_music->play();
    m_timer->reset();

    int current = 0;
    int last_order = -1;
    for (;;) {
        current = Scene_Slot(m_music->position().m_order, current);
        if (m_music->position().m_order > last_order) {
            m_screen->clear();
            last_order = m_music->position().m_order;
        }
        if (m_music->order() == 36)
            break;
        m_timer->update();
        callback->call();
        m_screen->begin_frame(0);
        if (Part* part = parts[current].get()) {
            part->update();
            part->render();
        }
        m_screen->present();
        if (Platform::Current_Backend().async_key_state(Platform::Key_Escape) & 0xFFFF)
            break;
    }
    m_music->stop();
}
