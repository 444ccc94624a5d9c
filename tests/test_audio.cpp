// The sound manager, sound effects and music against the real mixer (SDL's dummy audio driver
// under CTest), with the engine's own start-up creating the manager; no window is needed.
#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "audio/CMusic.h"
#include "audio/CSound.h"
#include "audio/CSoundManager.h"
#include "core/CEngine.h"
#include "support/TestSupport.h"

using orvane_test::StreamCapture;

namespace {

const char* const kBlip = "Data/Sounds/blip.wav";
const char* const kTune = "Data/Sounds/tune.ogg";

// A trace of the mixer calls that free or stop things. The test program defines these four
// entry points itself, so the engine's calls (linked statically into it) come here first and are
// passed on to the real mixer; calls the mixer makes to itself from inside one are not traced.
struct MixerCall {
    std::string name;
    const void* what;  // the chunk or music freed
    int musicPlaying;  // Mix_PlayingMusic at the moment of the call
    int deviceOpen;    // Mix_QuerySpec at the moment of the call
};
std::vector<MixerCall> g_calls;
bool g_tracing = false;
int g_depth = 0;

template <class Function>
Function Real(const char* name) {
    return reinterpret_cast<Function>(orvane_test::NextDefinition("SDL_mixer.dll", name));
}

// Mix_QuerySpec: 1 while the mixer's device is open, 0 once it is closed or never opened.
int MixerOpen() {
    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&frequency, &format, &channels);
}

void Trace(const char* name, const void* what) {
    if (g_tracing && g_depth == 0) {
        g_calls.push_back({name, what, Mix_PlayingMusic(), MixerOpen()});
    }
}

std::vector<std::string> CallNames() {
    std::vector<std::string> names;
    for (const MixerCall& call : g_calls) {
        names.push_back(call.name);
    }
    return names;
}

// Channels with an effect playing whose chunk is the given one.
int ChannelsPlaying(const Mix_Chunk* chunk) {
    int count = 0;
    for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
        if (Mix_Playing(channel) == 1 && Mix_GetChunk(channel) == chunk) {
            ++count;
        }
    }
    return count;
}

// A file in the build tree with the given contents, removed again by the destructor.
class TempFile {
public:
    TempFile(const std::string& suffix, const std::string& contents)
        : path_(std::string(ORVANE_BINARY_DIR) + "/audio_" + std::to_string(getpid()) + suffix) {
        std::ofstream(path_, std::ios::binary) << contents;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_tracing = false;
        StreamCapture capture;
        engine_.reset(new CEngine());
        startupLog_ = capture.Text();
        ASSERT_NE(nullptr, g_pSoundManager);
    }
    void TearDown() override {
        StreamCapture capture;
        engine_.reset();
        g_tracing = false;
    }

    std::unique_ptr<CEngine> engine_;
    std::string startupLog_;
};

}  // namespace

extern "C" {

int Mix_HaltMusic(void) {
    Trace("HaltMusic", nullptr);
    ++g_depth;
    int result = Real<int (*)(void)>("Mix_HaltMusic")();
    --g_depth;
    return result;
}

void Mix_FreeMusic(Mix_Music* music) {
    Trace("FreeMusic", music);
    ++g_depth;
    Real<void (*)(Mix_Music*)>("Mix_FreeMusic")(music);
    --g_depth;
}

void Mix_FreeChunk(Mix_Chunk* chunk) {
    Trace("FreeChunk", chunk);
    ++g_depth;
    Real<void (*)(Mix_Chunk*)>("Mix_FreeChunk")(chunk);
    --g_depth;
}

void Mix_CloseAudio(void) {
    Trace("CloseAudio", nullptr);
    ++g_depth;
    Real<void (*)(void)>("Mix_CloseAudio")();
    --g_depth;
}

}  // extern "C"

TEST_F(AudioTest, StartUpOpensTheDeviceWithTheFixedFormat) {
    EXPECT_EQ(std::string::npos, startupLog_.find("Unable to open audio"));
    EXPECT_TRUE(g_pSoundManager->IsDeviceOpen());
    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(1, Mix_QuerySpec(&frequency, &format, &channels));
    EXPECT_EQ(22050, frequency);
    EXPECT_EQ(AUDIO_S16LSB, format);
    EXPECT_EQ(2, channels);
    EXPECT_EQ(MAX_VOLUME, g_pSoundManager->GetSoundVolume());
    EXPECT_EQ(MAX_VOLUME, g_pSoundManager->GetMusicVolume());
    EXPECT_EQ(0u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(0u, g_pSoundManager->GetMusicCount());
}

TEST_F(AudioTest, RegistriesFollowTheOrderOfSuccessfulLoads) {
    StreamCapture capture;
    CSound* first = new CSound(kBlip);
    CSound* failed = new CSound("Data/Sounds/missing.wav");
    CSound* second = new CSound(kBlip);
    CMusic* tune = new CMusic(kTune);
    CMusic* failedMusic = new CMusic("Data/Sounds/missing.ogg");
    CMusic* tune2 = new CMusic(kTune);
    EXPECT_EQ(
        "Failed to load sound: Data/Sounds/missing.wav\n"
        "Failed to load music Data/Sounds/missing.ogg\n",
        capture.Text());

    EXPECT_TRUE(first->IsLoaded());
    EXPECT_FALSE(failed->IsLoaded());
    EXPECT_EQ("Data/Sounds/missing.wav", failed->GetFileName());
    ASSERT_EQ(2u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(first, g_pSoundManager->GetSound(0));
    EXPECT_EQ(second, g_pSoundManager->GetSound(1));
    ASSERT_EQ(2u, g_pSoundManager->GetMusicCount());
    EXPECT_EQ(tune, g_pSoundManager->GetMusic(0));
    EXPECT_EQ(tune2, g_pSoundManager->GetMusic(1));

    // Failed loads stay the application's; the registered ones go with the engine.
    delete failed;
    delete failedMusic;
}

TEST_F(AudioTest, PlaySoundPlaysTheIndexedEffectAndIgnoresAnIndexOutOfRange) {
    std::vector<CSound*> sounds;
    for (int i = 0; i < 3; ++i) {
        sounds.push_back(new CSound(kBlip));
    }
    ASSERT_EQ(3u, g_pSoundManager->GetSoundCount());

    g_pSoundManager->PlaySound(2, -1);
    EXPECT_EQ(1, Mix_Playing(-1));
    EXPECT_EQ(1, ChannelsPlaying(sounds[2]->GetChunk()));
    EXPECT_EQ(0, ChannelsPlaying(sounds[0]->GetChunk()));
    EXPECT_EQ(0, ChannelsPlaying(sounds[1]->GetChunk()));

    g_pSoundManager->PlaySound(3, -1);
    g_pSoundManager->PlaySound(0xFFFFFFFFu, -1);
    EXPECT_EQ(1, Mix_Playing(-1));

    sounds[0]->Play(-1);
    EXPECT_EQ(2, Mix_Playing(-1));
    EXPECT_EQ(1, ChannelsPlaying(sounds[0]->GetChunk()));
}

TEST_F(AudioTest, APlayWithNoFreeChannelWritesTheMixersError) {
    CSound* sound = new CSound(kBlip);
    const int channels = Mix_AllocateChannels(-1);
    ASSERT_GT(channels, 0);
    for (int i = 0; i < channels; ++i) {
        sound->Play(-1);
    }
    ASSERT_EQ(channels, Mix_Playing(-1));
    StreamCapture capture;
    sound->Play(0);
    const std::string error = SDL_GetError();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ("Failed to play sound Data/Sounds/blip.wav " + error + "\n", capture.Text());
    EXPECT_EQ(channels, Mix_Playing(-1));
}

TEST_F(AudioTest, RemoveSoundShiftsLaterSoundsDownAndDeletesEvenUnregisteredOnes) {
    CSound* a = new CSound(kBlip);
    CSound* b = new CSound(kBlip);
    CSound* c = new CSound(kBlip);
    g_pSoundManager->RemoveSound(a);
    ASSERT_EQ(2u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(b, g_pSoundManager->GetSound(0));
    EXPECT_EQ(c, g_pSoundManager->GetSound(1));

    // A sound that is playing is freed safely: its channel stops with it.
    g_pSoundManager->PlaySound(0, -1);
    ASSERT_EQ(1, Mix_Playing(-1));
    b->Free();
    EXPECT_EQ(0, Mix_Playing(-1));
    ASSERT_EQ(1u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(c, g_pSoundManager->GetSound(0));

    // Never registered: the registry stays as it is and the object is still deleted (the leak
    // checker of the sanitizer build would report it otherwise).
    StreamCapture capture;
    CSound* unregistered = new CSound("Data/Sounds/missing.wav");
    g_pSoundManager->RemoveSound(unregistered);
    CSound* unregistered2 = new CSound("Data/Sounds/missing.wav");
    unregistered2->Free();
    g_pSoundManager->RemoveSound(nullptr);
    EXPECT_EQ(1u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(c, g_pSoundManager->GetSound(0));
}

TEST_F(AudioTest, VolumesAreClampedAndReachTheMixer) {
    new CSound(kBlip);
    const int channels = Mix_AllocateChannels(-1);

    g_pSoundManager->SetSoundVolume(30);
    EXPECT_EQ(30, g_pSoundManager->GetSoundVolume());
    EXPECT_EQ(30, Mix_Volume(-1, -1));
    g_pSoundManager->SetSoundVolume(200);
    EXPECT_EQ(128, g_pSoundManager->GetSoundVolume());
    EXPECT_EQ(128, Mix_Volume(-1, -1));
    for (int channel = 0; channel < channels; ++channel) {
        EXPECT_EQ(128, Mix_Volume(channel, -1)) << "channel " << channel;
    }
    g_pSoundManager->SetSoundVolume(-5);
    EXPECT_EQ(0, g_pSoundManager->GetSoundVolume());
    for (int channel = 0; channel < channels; ++channel) {
        EXPECT_EQ(0, Mix_Volume(channel, -1)) << "channel " << channel;
    }

    g_pSoundManager->SetMusicVolume(64);
    EXPECT_EQ(64, g_pSoundManager->GetMusicVolume());
    EXPECT_EQ(64, Mix_VolumeMusic(-1));
    g_pSoundManager->SetMusicVolume(1000);
    EXPECT_EQ(128, g_pSoundManager->GetMusicVolume());
    EXPECT_EQ(128, Mix_VolumeMusic(-1));
    g_pSoundManager->SetMusicVolume(-1);
    EXPECT_EQ(0, g_pSoundManager->GetMusicVolume());
    EXPECT_EQ(0, Mix_VolumeMusic(-1));
}

TEST_F(AudioTest, PlayingAPieceStopsTheOneBeforeIt) {
    CMusic* first = new CMusic(kTune);
    CMusic* second = new CMusic(kTune);
    ASSERT_TRUE(first->IsLoaded() && second->IsLoaded());
    g_tracing = true;

    first->Play(-1);
    EXPECT_EQ(1, Mix_PlayingMusic());
    EXPECT_TRUE(g_calls.empty());  // nothing was playing, so nothing was halted
    second->Play(-1);
    EXPECT_EQ(1, Mix_PlayingMusic());
    ASSERT_EQ(std::vector<std::string>{"HaltMusic"}, CallNames());
    EXPECT_EQ(1, g_calls[0].musicPlaying);

    // By index; out of range nothing happens, not even a halt.
    g_calls.clear();
    g_pSoundManager->PlayMusic(2, -1);
    EXPECT_TRUE(g_calls.empty());
    g_pSoundManager->PlayMusic(0, -1);
    EXPECT_EQ(1, Mix_PlayingMusic());
    EXPECT_EQ(std::vector<std::string>{"HaltMusic"}, CallNames());

    // Removing a piece stops whatever plays, even another piece, before freeing it.
    g_calls.clear();
    Mix_Music* secondMusic = second->GetMusic();
    g_pSoundManager->RemoveMusic(second);
    EXPECT_EQ(0, Mix_PlayingMusic());
    ASSERT_EQ((std::vector<std::string>{"HaltMusic", "FreeMusic"}), CallNames());
    EXPECT_EQ(secondMusic, g_calls[1].what);
    ASSERT_EQ(1u, g_pSoundManager->GetMusicCount());
    EXPECT_EQ(first, g_pSoundManager->GetMusic(0));
}

TEST_F(AudioTest, FreeStopsAndFreesALoadedPieceOnceAndLeavesAnUnloadedOneAlone) {
    CMusic* tune = new CMusic(kTune);
    CMusic* other = new CMusic(kTune);
    StreamCapture capture;
    CMusic* unloaded = new CMusic("Data/Sounds/missing.ogg");
    capture.Clear();

    tune->Play(-1);
    g_tracing = true;
    unloaded->Free();  // nothing loaded: no halt, the object stays alive
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(1, Mix_PlayingMusic());
    EXPECT_FALSE(unloaded->IsLoaded());
    EXPECT_EQ(2u, g_pSoundManager->GetMusicCount());

    Mix_Music* tuneMusic = tune->GetMusic();
    tune->Free();
    EXPECT_EQ(0, Mix_PlayingMusic());
    ASSERT_EQ((std::vector<std::string>{"HaltMusic", "FreeMusic"}), CallNames());
    EXPECT_EQ(1, g_calls[0].musicPlaying);
    EXPECT_EQ(tuneMusic, g_calls[1].what);
    EXPECT_EQ(0, g_calls[1].musicPlaying);
    ASSERT_EQ(1u, g_pSoundManager->GetMusicCount());
    EXPECT_EQ(other, g_pSoundManager->GetMusic(0));
    EXPECT_EQ("", capture.Text());
    g_tracing = false;
    delete unloaded;
}

TEST_F(AudioTest, ShutdownFreesEverythingOnceWithMusicHaltedAndClosesTheDeviceLast) {
    CSound* sound = new CSound(kBlip);
    CMusic* first = new CMusic(kTune);
    CMusic* second = new CMusic(kTune);
    const void* chunk = sound->GetChunk();
    const void* firstMusic = first->GetMusic();
    const void* secondMusic = second->GetMusic();
    g_pSoundManager->PlaySound(0, -1);
    g_pSoundManager->PlayMusic(1, -1);
    ASSERT_EQ(1, Mix_PlayingMusic());

    StreamCapture capture;
    g_tracing = true;
    engine_.reset();
    g_tracing = false;
    EXPECT_EQ(nullptr, g_pSoundManager);
    ASSERT_EQ((std::vector<std::string>{"FreeChunk", "HaltMusic", "FreeMusic", "FreeMusic",
                                        "CloseAudio"}),
              CallNames());
    EXPECT_EQ(chunk, g_calls[0].what);
    EXPECT_EQ(1, g_calls[1].musicPlaying);
    EXPECT_EQ(firstMusic, g_calls[2].what);
    EXPECT_EQ(secondMusic, g_calls[3].what);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(1, g_calls[i].deviceOpen) << g_calls[i].name;
    }
    EXPECT_EQ(0, g_calls[2].musicPlaying);
    EXPECT_EQ(0, g_calls[3].musicPlaying);
    EXPECT_EQ(0, MixerOpen());
    EXPECT_EQ("", capture.Text());
}

TEST_F(AudioTest, FilesThatCannotBeDecodedAreReportedAndNotRegistered) {
    TempFile textWav(".wav", "this is not a wave file at all, only some text\n");
    TempFile textOgg(".ogg", "OggS but not really an ogg stream, only some text\n");
    TempFile emptyOgg(".ogg", "");
    std::string truncated = orvane_test::ReadFile(kTune).substr(0, 64);
    ASSERT_EQ(64u, truncated.size());
    TempFile truncatedOgg("_cut.ogg", truncated);
    // (A directory is left out: the mixer's music loader leaks its read stream on one.)
    const std::vector<std::string> names = {textWav.Path(), textOgg.Path(), emptyOgg.Path(),
                                            truncatedOgg.Path()};

    StreamCapture capture;
    std::string expected;
    for (const std::string& name : names) {
        CSound* sound = new CSound(name);
        EXPECT_FALSE(sound->IsLoaded()) << name;
        sound->Play(0);
        sound->Free();
        CMusic* music = new CMusic(name);
        EXPECT_FALSE(music->IsLoaded()) << name;
        music->Play(0);
        delete music;
        expected += "Failed to load sound: " + name + "\nFailed to load music " + name + "\n";
    }
    EXPECT_EQ(expected, capture.Text());
    EXPECT_EQ(0u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(0u, g_pSoundManager->GetMusicCount());
    EXPECT_EQ(0, Mix_Playing(-1));
    EXPECT_EQ(0, Mix_PlayingMusic());
}

// Standard output keeps its fixed lines; the reason goes to standard error: SDL's for a file
// that cannot be opened, the mixer's for one it cannot decode, and the refusal of a directory,
// which never reaches the mixer.
TEST_F(AudioTest, FailedLoadsWriteTheirReasonOnStandardError) {
    TempFile text(".wav", "this is not a wave file at all, only some text\n");
    StreamCapture out;
    StreamCapture err(std::cerr);
    const std::string missing = "Data/Sounds/missing";
    for (const std::string& name : {missing, text.Path(), std::string("Data/Sounds")}) {
        CSound* sound = new CSound(name);
        CMusic* music = new CMusic(name);
        EXPECT_FALSE(sound->IsLoaded() || music->IsLoaded()) << name;
        sound->Free();
        delete music;
    }
    EXPECT_EQ("Failed to load sound: " + missing + "\nFailed to load music " + missing +
                  "\nFailed to load sound: " + text.Path() + "\nFailed to load music " +
                  text.Path() + "\nFailed to load sound: Data/Sounds\nFailed to load music " +
                  "Data/Sounds\n",
              out.Text());
    EXPECT_EQ("Sound " + missing + " not loaded: Couldn't open " + missing + "\nMusic " + missing +
                  " not loaded: Couldn't open '" + missing + "'\nSound " + text.Path() +
                  " not loaded: Unrecognized sound file type\nMusic " + text.Path() +
                  " not loaded: Unknown WAVE format\n" +
                  "Sound Data/Sounds not loaded: a directory, not a regular file\n" +
                  "Music Data/Sounds not loaded: a directory, not a regular file\n",
              err.Text());
    EXPECT_EQ(0u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(0u, g_pSoundManager->GetMusicCount());
}

TEST_F(AudioTest, AnEmptyNameLoadsNothingAndWritesNothing) {
    StreamCapture capture;
    CSound* sound = new CSound("");
    CMusic* music = new CMusic("");
    EXPECT_FALSE(sound->IsLoaded());
    EXPECT_FALSE(music->IsLoaded());
    sound->Play(-1);
    music->Play(-1);
    EXPECT_EQ(0, Mix_Playing(-1));
    EXPECT_EQ(0, Mix_PlayingMusic());
    EXPECT_EQ(0u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(0u, g_pSoundManager->GetMusicCount());
    EXPECT_EQ("", capture.Text());
    sound->Free();
    delete music;
}

TEST_F(AudioTest, ASecondLoadReplacesTheDataWithoutRegisteringTwice) {
    CSound* sound = new CSound(kBlip);
    CMusic* music = new CMusic(kTune);
    EXPECT_TRUE(sound->Load(kBlip));
    EXPECT_TRUE(music->Load(kTune));
    EXPECT_EQ(1u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(1u, g_pSoundManager->GetMusicCount());

    // A failed reload keeps what was loaded, so the registered object still owns its data.
    StreamCapture capture;
    EXPECT_FALSE(sound->Load("Data/Sounds/missing.wav"));
    EXPECT_FALSE(music->Load("Data/Sounds/missing.ogg"));
    EXPECT_EQ(
        "Failed to load sound: Data/Sounds/missing.wav\n"
        "Failed to load music Data/Sounds/missing.ogg\n",
        capture.Text());
    EXPECT_TRUE(sound->IsLoaded());
    EXPECT_EQ(kBlip, sound->GetFileName());
    g_pSoundManager->PlaySound(0, 0);
    EXPECT_EQ(1, Mix_Playing(-1));
}

TEST_F(AudioTest, APieceDestroyedOrLoadedAfterShutdownDoesNothing) {
    StreamCapture capture;
    CMusic* unloaded = new CMusic("Data/Sounds/missing.ogg");
    CSound* unloadedSound = new CSound("Data/Sounds/missing.wav");
    new CMusic(kTune);
    g_pSoundManager->PlayMusic(0, -1);
    engine_.reset();
    ASSERT_EQ(nullptr, g_pSoundManager);
    capture.Clear();

    delete unloaded;
    unloadedSound->Free();
    CSound* late = new CSound(kBlip);
    CMusic* lateMusic = new CMusic(kTune);
    late->Play(0);
    lateMusic->Play(0);
    lateMusic->Free();
    EXPECT_FALSE(late->IsLoaded());
    EXPECT_FALSE(lateMusic->IsLoaded());
    EXPECT_EQ(
        "Failed to load sound: Data/Sounds/blip.wav\n"
        "Failed to load music Data/Sounds/tune.ogg\n",
        capture.Text());
    late->Free();
    delete lateMusic;
}

// Without a usable driver the device cannot open: start-up reports it and goes on, and every
// later audio call fails with its own line or does nothing.
TEST(AudioWithoutDevice, StartUpGoesOnAndLaterCallsFailQuietly) {
    orvane_test::SetEnv("SDL_AUDIODRIVER", "nonexistent");
    StreamCapture capture;
    std::unique_ptr<CEngine> engine(new CEngine());
    const std::string log = capture.Text();
    const size_t unable = log.find("Unable to open audio\n");
    const size_t initialize = log.find("Initialize Sound Manager...done\n");
    ASSERT_NE(std::string::npos, unable);
    ASSERT_NE(std::string::npos, initialize);
    EXPECT_EQ(unable + std::string("Unable to open audio\n").size(), initialize);
    EXPECT_NE(std::string::npos, log.find("Initialize the Font Manager...done\n"));
    ASSERT_NE(nullptr, g_pSoundManager);
    EXPECT_FALSE(g_pSoundManager->IsDeviceOpen());
    EXPECT_EQ(0, MixerOpen());

    capture.Clear();
    StreamCapture err(std::cerr);
    CSound* sound = new CSound(kBlip);
    CMusic* music = new CMusic(kTune);
    EXPECT_FALSE(sound->IsLoaded());
    EXPECT_FALSE(music->IsLoaded());
    EXPECT_EQ(std::string("Sound ") + kBlip + " not loaded: no audio device is open\nMusic " +
                  kTune + " not loaded: no audio device is open\n",
              err.Text());
    sound->Play(0);
    music->Play(-1);
    g_pSoundManager->PlaySound(0, 0);
    g_pSoundManager->PlayMusic(0, 0);
    g_pSoundManager->SetSoundVolume(300);
    g_pSoundManager->SetMusicVolume(50);
    g_pSoundManager->HaltMusicIfPlaying();
    EXPECT_EQ(128, g_pSoundManager->GetSoundVolume());
    EXPECT_EQ(50, g_pSoundManager->GetMusicVolume());
    EXPECT_EQ(0u, g_pSoundManager->GetSoundCount());
    EXPECT_EQ(0u, g_pSoundManager->GetMusicCount());
    EXPECT_EQ(
        "Failed to load sound: Data/Sounds/blip.wav\n"
        "Failed to load music Data/Sounds/tune.ogg\n",
        capture.Text());
    sound->Free();

    engine.reset();
    EXPECT_EQ(nullptr, g_pSoundManager);
    delete music;  // after shutdown: no manager to ask, nothing to free
}
