#pragma once
// Sound playback: one sound at a time for the whole process, played from a WAV file on the default sound
// device.

#include <string>
#include <string_view>

namespace kestrova {

enum SoundFlags : unsigned {
    kSoundLoop = 1,    // repeat until StopSound, or until another sound takes its place
    kSoundNoStop = 2,  // when a sound plays already, leave it alone and play nothing
    kSoundWait = 4,    // return only when the sound has played through (ignored with kSoundLoop)
};

// Plays the WAV file `name` without waiting (unless kSoundWait). A bare name is looked up in the current
// folder, then in the program's data folder. A sound that plays already is replaced, unless kSoundNoStop is
// given. Returns true when the sound started; false when another one plays (kSoundNoStop), the file is
// missing or not a WAV file, or there is no sound device (said once on the debug output).
bool PlaySoundFile(std::wstring_view name, unsigned flags);
// Stops whatever sound the process plays; returns when it is silent.
void StopSound();
bool SoundPlaying();

// Where a sound file name leads: `name` itself when it has a folder part or exists in the current folder,
// else the program data folder's file of that name; "" when nothing exists there.
std::wstring FindSoundFile(std::wstring_view name);

// The ALSA device that sounds play on, "default" unless set; an empty name restores it. Setting it also lets
// a missing device be reported once more.
void SetSoundDevice(std::string device);

}  // namespace kestrova
