#pragma once

namespace QEV_Lib {

// A one-operation interface. It has no virtual destructor on purpose: owners
// destroy a Callback through ~Callback itself (see Holder).
class Callback {
public:
    Callback() {}
    Callback(const Callback&) {}
    Callback& operator=(const Callback&) { return *this; }
    ~Callback();

    virtual int call() = 0;
};

}
