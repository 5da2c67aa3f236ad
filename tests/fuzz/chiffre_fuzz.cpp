// The scrambler: decrypting what it encrypted gives the text back, under any key and
// alphabet; decrypting anything never fails and keeps the length.
#include "FuzzCheck.h"
#include "settings/Chiffre.h"

#include <fuzzer/FuzzedDataProvider.h>

using torvella::settings::TChiffre;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    TChiffre chiffre;
    if (in.ConsumeBool()) {
        // The game's alphabet holds each character once; with a repeated one the shift
        // back finds the first copy, and the two directions are no longer inverses.
        const std::string bytes = in.ConsumeRandomLengthString(80);
        QString alphabet;
        for (const QChar c : QString::fromUtf8(bytes.data(), qsizetype(bytes.size())))
            if (!alphabet.contains(c) && !c.isSurrogate())
                alphabet += c;
        int32_t key = in.ConsumeIntegral<int32_t>();
        if (key == INT32_MIN) // the game never passes it; its absolute value does not fit
            key = 0;
        chiffre.Init(alphabet, key);
    }
    const std::string rest = in.ConsumeRemainingBytesAsString();
    const QString text = QString::fromUtf8(rest.data(), qsizetype(rest.size()));
    const QString scrambled = chiffre.Encrypt(text);
    FUZZ_CHECK(scrambled.size() == text.size());
    FUZZ_CHECK(chiffre.Decrypt(scrambled) == text);
    const QString unscrambled = chiffre.Decrypt(text);
    FUZZ_CHECK(unscrambled.size() == text.size());
    FUZZ_CHECK(chiffre.Encrypt(unscrambled) == text);
    return 0;
}
