#pragma once

// The JACK client library prints its errors and notes on the console (four lines each time a
// server cannot be reached, which is every start without JACK and every look for a server that
// went away). silence() replaces both printers with ones that print nothing; without the library
// it does nothing.
namespace AlxJackMessages
{
    void silence();
}
