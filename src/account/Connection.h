#pragma once

namespace tavix {

// The system's Internet connection, as far as the program needs it: its state, dialling the
// default connection and hanging up what was dialled.
class Connection
{
public:
    enum Kind { Modem = 0x01, Lan = 0x02, Proxy = 0x04, ModemBusy = 0x08 };
    struct State
    {
        bool connected = false;
        int kinds = 0; // Kind bits
    };

    virtual ~Connection() = default;
    virtual State state() = 0;
    // Asks the system to dial the default connection (force online, unattended); false when
    // the request is refused.
    virtual bool dial() = 0;
    virtual void hangUp() = 0;
};

// Systems without dial-up networking: always connected, through the local network, so nothing
// is dialled and no hang-up is offered.
class AlwaysConnected : public Connection
{
public:
    State state() override { return {true, Lan}; }
    bool dial() override { return true; }
    void hangUp() override {}
};

} // namespace tavix
