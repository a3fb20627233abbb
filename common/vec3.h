// Three packed floats: arrays of Vec3 go to OpenGL with a stride of 0.
#pragma once

struct Vec3 {
    float x;
    float y;
    float z;
};

static_assert(sizeof(Vec3) == 12, "OpenGL reads Vec3 arrays as tightly packed floats");
