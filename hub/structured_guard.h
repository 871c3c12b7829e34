// A structured-exception frame of the library's own around calls into the
// outside libraries. Those report a C++ throw as a structured exception (code
// 0xE06D7363), and a bad pointer shows up as an access violation; neither is
// seen by a C++ catch in this library.
#pragma once

namespace tallow {

// Runs body(context) under the frame. Answers true when the body returned and
// false when a structured exception ended it: the frames the exception passed
// through are unwound and execution resumes here. Objects that the body's own
// code made on the way are not destroyed then, so a body holds none: it is
// just the outside call. A C++ exception thrown by the body travels on
// unchanged.
bool runGuarded(void (*body)(void*), void* context);

// The same for any callable.
template <class Body>
bool guarded(Body&& body)
{
    auto call = [&body] { body(); };
    return runGuarded([](void* context) { (*static_cast<decltype(call)*>(context))(); }, &call);
}

}  // namespace tallow
