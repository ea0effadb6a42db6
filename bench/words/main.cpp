// Times the word analysis of one long card: a generated text of 400,000 characters with a
// vocabulary of about 20,000 distinct words, analysed from Text Compare up to the word window
// filled and shown (offscreen), against the plain algorithms (linear lookups, selection sorts)
// on the same text in the same run. Also the index split of the same text.
//
//   words [characters]     (default: 400000)

#include "core/keywords/keywordstore.h"
#include "core/session/session.h"
#include "core/store/database.h"
#include "core/words/exclusionlist.h"
#include "core/words/tokenizer.h"
#include "gui/common/texttableview.h"
#include "gui/words/wordanalysis.h"
#include "gui/words/wordwindow.h"
#include "referencebase.h"
#include "silentprompter.h"
#include "support/literalwords.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>

using namespace vlm;

namespace {

// A text of `length` characters from the reference base's generator: words drawn by Zipf's law
// from a large vocabulary, a few plurals and capitals, sentences, apostrophes, quotation marks
// and numbers.
QString generateText(int length) {
    return bench::TextMaker(20, 200000).sentences(length);
}

double secondsOf(const std::function<void()>& f) {
    QElapsedTimer t;
    t.start();
    f();
    return t.nsecsElapsed() / 1e9;
}

double bestOf3(const std::function<void()>& f) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run)
        best = std::min(best, secondsOf(f));
    return best;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int length = argc > 1 ? std::atoi(argv[1]) : 400000;

    vlm::bench::SilentPrompter prompter;
    Session ctx(prompter);
    QTemporaryDir tmp;
    ctx.base.createStartBase(tmp.filePath(QStringLiteral("words.vlm")));
    QMdiArea mdi;
    mdi.resize(1200, 800);
    mdi.show();
    ctx.mdiArea = &mdi;

    const QString text = generateText(length);
    // Keywords and excluded words, some of them words of the text.
    const bench::TextMaker vocabulary(7, 4000);
    QStringList some;
    for (int i = 0; i < 2000; ++i)
        some << vocabulary.word(i * 2);
    {
        store::Transaction t(*ctx.base.BaseDb);
        for (int i = 0; i < 2000; ++i)
            keywords::storeKeyword(ctx, some[i].left(30));
        for (int i = 0; i < 100; ++i)
            (void)words::excludeWord(ctx, some[i * 7]);
        t.commit();
    }
    const words::ExclusionList excluded = *words::loadExclusionList(ctx);

    words::WordList list;
    const double core = bestOf3([&] { list = *words::analyseText(text, excluded, false); });
    int zeros = 0;
    for (const auto& e : list)
        zeros += e.count == 0;
    const double index = bestOf3([&] { (void)words::splitTextForIndex(text, excluded); });

    int shownRows = 0;
    const double window = bestOf3([&] {
        words::WordWindow* w =
            words::compareCardWords(ctx, CardKind::Note, QStringLiteral("N1"), text);
        QApplication::processEvents(); // the first paint
        shownRows = w ? w->findChild<TextTableView*>(QStringLiteral("Grid1"))->rowCount() : -1;
    });

    QStringList excludedWords;
    for (int i = 0; i < 100; ++i)
        excludedWords << some[i * 7];
    test::LiteralWords plain;
    std::optional<words::WordList> plainList;
    const double literal = secondsOf([&] {
        plainList = plain.analyse(text, words::SplitVariant::Analysis, false, excludedWords);
    });

    std::printf("text: %lld characters, %zu distinct words after cleaning (%d folded plurals)\n",
                static_cast<long long>(text.size()), list.size(), zeros);
    std::printf("analysis only (split, clean, sorts, folding):   %8.1f ms\n", core * 1e3);
    std::printf("index split of the same text:                    %8.1f ms\n", index * 1e3);
    std::printf("Text Compare up to the word window shown:        %8.1f ms  (%d rows)\n",
                window * 1e3, shownRows);
    std::printf("plain algorithms, analysis only (one run):       %8.1f ms\n", literal * 1e3);
    std::printf("ratio plain / fast analysis:                     %8.0f x\n", literal / core);
    std::printf("same word list as the plain algorithms:          %s\n",
                plainList && *plainList == list ? "yes" : "NO");
    return plainList && *plainList == list ? 0 : 1;
}
