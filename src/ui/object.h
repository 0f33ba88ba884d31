// The common root of everything that raises events: handlers receive the raiser as `Sender`.
#pragma once

namespace ui {

class Object {
public:
    Object() = default;
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;
};

}  // namespace ui
