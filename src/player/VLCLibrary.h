#pragma once

struct libvlc_instance_t;

// The one libVLC instance of the program, made on first use with the options every player
// relies on (a finished recording pauses on its last picture instead of ending black).
class VLCLibrary
{
public:
    static VLCLibrary& sharedLibrary();

    libvlc_instance_t* instance() const { return m_instance; }

    VLCLibrary(const VLCLibrary&) = delete;
    VLCLibrary& operator=(const VLCLibrary&) = delete;

private:
    VLCLibrary();
    ~VLCLibrary();

    libvlc_instance_t* m_instance = nullptr;
};
