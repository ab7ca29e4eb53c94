#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <utility>

// What every harness of fuzz/ shares. A harness checks more than that the reader survives: each
// states what must hold for any input, and a broken expectation stops the run like a crash, so
// that libFuzzer keeps the input.
namespace orba::fuzz {

// Before the first input, LLVMFuzzerInitialize (defined here for every harness) makes the
// application the readers need (fonts, pictures, text layout), headless and German as the
// program's own, and a fresh empty working directory for the files the harness writes.

QByteArray bytes(const std::uint8_t* data, std::size_t size);
// The input's first line (without its LF) and the rest after it; all of it is the first line
// when it has no LF.
std::pair<QByteArray, QByteArray> splitFirstLine(const QByteArray& input);
// Writes the bytes as they are to a file of the working directory.
void writeFile(const QString& name, const QByteArray& bytes);
// A file of the working directory as it is; nothing when there is none.
QByteArray readFile(const QString& name);
// For a file `name` that holds `input` and could not be read whole: a try to `save` over it may
// be refused, but never changes it.
void expectLeftAlone(const QString& name, const QByteArray& input,
                     const std::function<void()>& save);
// Copies a file of the demo data into the working directory.
void copyDemoFile(const QString& name);
// Whether the bytes begin as a UTF-8 or UTF-16 byte-order mark does: a user's file that begins
// so is read as Unicode, even when the program wrote it as cp1252 ("ÿþ" and "ï»¿" at its start).
bool startsWithByteOrderMark(const QByteArray& bytes);

// Reports the broken expectation with the details and aborts.
[[noreturn]] void fail(const char* expectation, const char* file, int line,
                       const QString& details = QString());

} // namespace orba::fuzz

#define FUZZ_EXPECT(condition, ...)                                                                \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::orba::fuzz::fail(#condition, __FILE__, __LINE__ __VA_OPT__(, ) __VA_ARGS__);         \
    } while (false)
