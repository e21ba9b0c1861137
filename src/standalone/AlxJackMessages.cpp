#include "standalone/AlxJackMessages.h"

#include <dlfcn.h>

namespace
{
    extern "C" void discardJackMessage (const char*);

    extern "C" void discardJackMessage (const char*) {}

    using MessageFunctionSetter = void (*) (void (*) (const char*));

    void install (void* library, const char* setterName)
    {
        if (auto* setter = reinterpret_cast<MessageFunctionSetter> (dlsym (library, setterName)))
            setter (discardJackMessage);
    }
}

namespace AlxJackMessages
{
    void silence()
    {
        // The same library the audio device code loads by this name; it stays loaded, so the
        // printers stay in place for the life of the process.
        auto* library = dlopen ("libjack.so.0", RTLD_LAZY);

        if (library == nullptr)
            return;

        install (library, "jack_set_error_function");
        install (library, "jack_set_info_function");
    }
}
