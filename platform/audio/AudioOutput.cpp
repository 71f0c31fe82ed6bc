#include "platform/audio/AudioOutput.h"
#include "platform/audio/AudioMixer.h"

#include <SDL2/SDL.h>

#include <memory>
#include <mutex>

static const int device_rate = 44100;

static std::mutex output_lock;
static int output_users = 0;
static std::unique_ptr<AudioMixer> output_mixer;
static SDL_AudioDeviceID output_device = 0;
static bool output_manual = false;
static int output_manual_rate = device_rate;

static void SDLCALL OutputCallback(void *user, Uint8 *stream, int bytes)
{
    static_cast<AudioMixer *>(user)->Mix(reinterpret_cast<float *>(stream),
                                        bytes / static_cast<int>(2 * sizeof(float)));
}

static bool OpenDevice()
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    output_mixer.reset(new (std::nothrow) AudioMixer(device_rate));
    if (!output_mixer) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // SDL converts the mixer's float stereo to whatever the device takes.
    SDL_AudioSpec want = {};
    want.freq = device_rate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = OutputCallback;
    want.userdata = output_mixer.get();
    output_device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    if (output_device == 0) {
        output_mixer.reset();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_PauseAudioDevice(output_device, 0);
    return true;
}

AudioMixer *AudioOutputAcquire()
{
    std::lock_guard<std::mutex> lock(output_lock);
    if (output_users == 0) {
        if (output_manual) {
            output_mixer.reset(new (std::nothrow) AudioMixer(output_manual_rate));
            if (!output_mixer)
                return nullptr;
        } else if (!OpenDevice()) {
            return nullptr;
        }
    }
    output_users++;
    return output_mixer.get();
}

void AudioOutputRelease()
{
    std::lock_guard<std::mutex> lock(output_lock);
    if (output_users == 0 || --output_users > 0)
        return;
    if (output_device) {
        SDL_CloseAudioDevice(output_device);
        output_device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    output_mixer.reset();
}

void AudioOutputSetManualMixingForTests(bool manual, int rate)
{
    std::lock_guard<std::mutex> lock(output_lock);
    if (output_users > 0)
        return;
    output_manual = manual;
    output_manual_rate = rate > 0 ? rate : device_rate;
}

AudioMixer *AudioOutputGetMixer()
{
    std::lock_guard<std::mutex> lock(output_lock);
    return output_users > 0 ? output_mixer.get() : nullptr;
}
