// Reading a quote file, choosing and assembling a quote, next to the floor:
// reading the same file and decoding it to UTF-16 in one call each.
//
// The files are written into a temporary directory when the run starts.

#include "bench/QuoteFileGenerator.h"
#include "quotes/AssembleQuote.h"
#include "quotes/ChooseQuote.h"
#include "quotes/LineTable.h"
#include "quotes/QuoteFileReader.h"
#include "quotes/TextDecoding.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace quoteshow;

struct QuoteFile {
    const char *label;
    QString path;
    qint64 bytes;
};

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// What the program does with a quote file before the window exists.
void Program(benchmark::State &state, const QuoteFile &file)
{
    for (auto _ : state) {
        const LineTable lineTable = LoadLineTable(file.path);
        const int chosenQuote = ChooseQuote(lineTable.SeparatorCount);
        QString quoteText = AssembleQuote(lineTable, chosenQuote);
        benchmark::DoNotOptimize(quoteText.data());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

// The least any reader can do: one read, one decode.
void Floor(benchmark::State &state, const QuoteFile &file)
{
    for (auto _ : state) {
        QFile in(file.path);
        if (!in.open(QIODevice::ReadOnly)) {
            state.SkipWithError("cannot open the quote file");
            return;
        }
        QString text = QString::fromUtf8(in.readAll());
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

// The program's steps one by one, to tell where its time above the floor goes.
void ReadStep(benchmark::State &state, const QuoteFile &file)
{
    for (auto _ : state) {
        QuoteFileBytes bytes = ReadQuoteFile(file.path);
        benchmark::DoNotOptimize(bytes.bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void DecodeStep(benchmark::State &state, const QuoteFile &file)
{
    const QByteArray bytes = ReadAll(file.path);
    for (auto _ : state) {
        QString text = DecodeQuoteText(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void SplitStep(benchmark::State &state, const QuoteFile &file)
{
    const QByteArray bytes = ReadAll(file.path);
    for (auto _ : state) {
        LineTable lineTable = LoadLineTable(QByteArrayView(bytes));
        benchmark::DoNotOptimize(lineTable.LineCount);
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

void AssembleStep(benchmark::State &state, const QuoteFile &file)
{
    const LineTable lineTable = LoadLineTable(file.path);
    int chosenQuote = 0;
    for (auto _ : state) {
        // Every quote in turn, so no one quote's length decides the figure.
        chosenQuote = chosenQuote % std::max(1, lineTable.SeparatorCount) + 1;
        QString quoteText = AssembleQuote(lineTable, chosenQuote);
        benchmark::DoNotOptimize(quoteText.data());
    }
    state.SetBytesProcessed(state.iterations() * file.bytes);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary directory\n");
        return 1;
    }
    const QString sample = dir.filePath(QStringLiteral("Jokes.TXT"));
    const QString largest = dir.filePath(QStringLiteral("Largest.TXT"));
    const QString longLine = dir.filePath(QStringLiteral("OneLongLine.TXT"));
    if (!bench::WriteFile(sample, ReadAll(QStringLiteral(QUOTESHOW_SAMPLE_FILE)))
        || !bench::WriteFile(largest, bench::LargestShownFile())
        || !bench::WriteFile(longLine, bench::OneLongLineFile())) {
        std::fprintf(stderr, "cannot write the quote files into %s\n", qPrintable(dir.path()));
        return 1;
    }

    std::vector<QuoteFile> files;
    for (const auto &[label, path] : {std::pair{"sample", sample}, std::pair{"largest", largest},
                                      std::pair{"long_line", longLine}})
        files.push_back({label, path, QFile(path).size()});

    using Step = void (*)(benchmark::State &, const QuoteFile &);
    const std::pair<const char *, Step> steps[] = {
        {"Program", Program},   {"Floor", Floor},       {"ReadStep", ReadStep},
        {"DecodeStep", DecodeStep}, {"SplitStep", SplitStep}, {"AssembleStep", AssembleStep},
    };
    for (const QuoteFile &file : files)
        for (const auto &[name, step] : steps) {
            const std::string fullName = std::string(name) + "/" + file.label;
            benchmark::RegisterBenchmark(fullName.c_str(), step, file)->Unit(benchmark::kMicrosecond);
        }

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
