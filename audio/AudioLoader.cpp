#include "audio/AudioLoader.h"

#include "modules/ModuleLoader.h"


#include <atomic>
#include <cstdio>
#include <thread>
#include <utility>

namespace torvella::audio {

namespace {

// Stands in for the module until something has to sound, then hands every call on.
class LazyAudio : public AudioService {
public:
    LazyAudio(const QString& programFolder, ClipSource clips) : programFolder_(programFolder), clips_(std::move(clips))
    {
    }

    ~LazyAudio() override
    {
        Join();
        // The module's objects go before the module. The module stays mapped: the sound
        // library's own threads and exit handlers may still point into it.
        impl_.reset();
    }

    void SetErrorHandler(std::function<void(const QString&)> handler) override
    {
        Join();
        onError_ = std::move(handler);
        if (impl_)
            impl_->SetErrorHandler(onError_);
    }

    void PlaySound(int n, bool soundOn) override
    {
        if (!soundOn)
            return;
        Join();
        if (n == 0 && !impl_)
            return; // nothing can be playing before the module is there
        if (AudioService* a = Impl())
            a->PlaySound(n, soundOn);
    }

    bool Load() override
    {
        AudioService* a = Impl();
        return a && a->Load();
    }

    void Prefetch() override { PrefetchInBackground(true); }
    void PrefetchMusic() override { PrefetchInBackground(false); }

    const Mix_Chunk* Chunk(int n) const override
    {
        const_cast<LazyAudio*>(this)->Join();
        return impl_ ? impl_->Chunk(n) : nullptr;
    }

    bool StartUp(const QString& programFolder) override
    {
        Join();
        programFolder_ = programFolder;
        files_ = MusicFiles(programFolder);
        startedUp_ = true;
        return !files_.isEmpty();
    }

    void KeepMusicPlaying(bool musicAvailable, bool& musicOn) override
    {
        if (!musicAvailable || !musicOn)
            return;
        if (AudioService* a = Impl())
            a->KeepMusicPlaying(musicAvailable, musicOn);
        else
            MusicFails(musicOn);
    }

    void ToggleMusic(bool& musicOn) override
    {
        if (AudioService* a = Impl()) {
            a->ToggleMusic(musicOn);
        } else if (musicOn) {
            musicOn = false;
        } else if (!files_.isEmpty()) {
            musicOn = true;
            MusicFails(musicOn);
        }
    }

    QString CurrentFileName() const override
    {
        const_cast<LazyAudio*>(this)->Join();
        if (impl_)
            return impl_->CurrentFileName();
        return files_.isEmpty() ? QString() : files_.first();
    }

    void Idle() override
    {
        if (prefetch_.joinable() && !prefetched_)
            return; // still loading: the tick must not wait for it
        Join();
        if (impl_)
            impl_->Idle();
    }

private:
    void Join()
    {
        if (prefetch_.joinable())
            prefetch_.join();
    }

    void PrefetchInBackground(bool effects)
    {
        if (prefetch_.joinable()) {
            if (!prefetched_)
                return;
            Join();
        }
        if (tried_ && (!impl_ || !effects || effectsPrefetched_))
            return;
        effectsPrefetched_ = effectsPrefetched_ || effects;
        // Loading the module and opening the device takes tens of milliseconds; off the
        // window's thread the player does not wait for it. Nothing else touches the
        // module until this thread has been joined.
        prefetched_ = false;
        prefetch_ = std::thread([this, effects] {
            AudioService* a = LoadModule();
            if (a && effects)
                a->Load();
            prefetched_ = true;
        });
    }

    AudioService* Impl()
    {
        Join();
        return LoadModule();
    }

    AudioService* LoadModule()
    {
        if (impl_ || tried_)
            return impl_.get();
        tried_ = true;
        auto create = reinterpret_cast<CreateAudioFn>(modules::FindModuleEntry(
            modules::ModuleFolders(programFolder_), kAudioModuleName, kCreateAudioSymbol, "audio", moduleError_));
        if (!create)
            return nullptr;
        impl_.reset(create(clips_()));
        clips_ = nullptr;
        if (onError_)
            impl_->SetErrorHandler(onError_);
        if (startedUp_)
            impl_->StartUp(programFolder_);
        return impl_.get();
    }

    void MusicFails(bool& musicOn)
    {
        musicOn = false;
        const QString message = QStringLiteral("Music cannot play: the sound module could not be loaded (%1).")
                                    .arg(moduleError_);
        if (onError_)
            onError_(message);
        else
            std::fprintf(stderr, "torvella: %s\n", qPrintable(message));
    }

    QString programFolder_;
    ClipSource clips_;
    QStringList files_;
    bool startedUp_ = false;
    bool tried_ = false;
    bool effectsPrefetched_ = false;
    QString moduleError_;
    std::unique_ptr<AudioService> impl_;
    std::function<void(const QString&)> onError_;
    std::thread prefetch_;
    std::atomic<bool> prefetched_ = false;
};

} // namespace

std::unique_ptr<AudioService> CreateAudio(const QString& programFolder, const QList<QByteArray>& clips)
{
    return CreateAudio(programFolder, [clips] { return clips; });
}

std::unique_ptr<AudioService> CreateAudio(const QString& programFolder, ClipSource clips)
{
    return std::make_unique<LazyAudio>(programFolder, std::move(clips));
}

} // namespace torvella::audio
