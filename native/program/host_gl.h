// The core's two OpenGL seams, presenting a frame and asking for the current context, as the
// host that runs fills them: the program holds both hosts, and only one draws.
#pragma once

struct HostGl {
    void (*present)(void* target) = nullptr; // the frame's target is what the host drew for
    bool (*hasCurrentContext)() = nullptr;
};

// Set by the running host before its first frame; read on the same thread.
extern HostGl hostGl;
