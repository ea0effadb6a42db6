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

// Words made of French-looking syllables, some accented; the same seed gives the same words.
QStringList vocabulary(int size, std::mt19937& rng) {
    const QStringList syllables = {
        QStringLiteral("ma"),  QStringLiteral("ré"),  QStringLiteral("tion"),
        QStringLiteral("che"), QStringLiteral("lo"),  QStringLiteral("ver"),
        QStringLiteral("pa"),  QStringLiteral("ri"),  QStringLiteral("son"),
        QStringLiteral("bè"),  QStringLiteral("qui"), QStringLiteral("ment"),
        QStringLiteral("tu"),  QStringLiteral("ça"),  QStringLiteral("do"),
        QStringLiteral("la"),  QStringLiteral("mi"),  QStringLiteral("nô"),
        QStringLiteral("gé"),  QStringLiteral("sa"),  QStringLiteral("vi"),
        QStringLiteral("ter"), QStringLiteral("fon"), QStringLiteral("à")};
    QStringList words;
    for (int i = 0; i < size; ++i) {
        QString w;
        for (int n = 1 + int(rng() % 4); n > 0; --n)
            w += syllables[int(rng() % syllables.size())];
        words << w;
    }
    return words;
}

// A text of `length` characters: words drawn by Zipf's law, a few plurals and capitals,
// sentences, apostrophes, quotation marks and numbers.
QString generateText(int length) {
    std::mt19937 rng(20);
    const QStringList words = vocabulary(200000, rng);
    std::vector<double> cumulative(size_t(words.size()));
    double sum = 0;
    for (size_t i = 0; i < cumulative.size(); ++i)
        cumulative[i] = sum += 1.0 / std::pow(double(i + 1), 0.65);
    std::uniform_real_distribution<double> pick(0, sum);
    QString text;
    text.reserve(length + 40);
    bool sentenceStart = true;
    while (text.size() < length) {
        const size_t k = size_t(std::lower_bound(cumulative.begin(), cumulative.end(), pick(rng)) -
                                cumulative.begin());
        QString w = words[qsizetype(std::min(k, cumulative.size() - 1))];
        if (rng() % 10 == 0) w += QLatin1Char('s');
        if (sentenceStart) w[0] = w[0].toUpper();
        switch (rng() % 40) {
        case 0:
            w = QStringLiteral("l'") + w;
            break;
        case 1:
            w = QStringLiteral("«") + w + QStringLiteral("»");
            break;
        case 2:
            w += QStringLiteral(" 1984");
            break;
        default:
            break;
        }
        sentenceStart = rng() % 12 == 0;
        text += w + (sentenceStart ? QStringLiteral(". ")
                     : rng() % 8   ? QStringLiteral(" ")
                                   : QStringLiteral(", "));
    }
    return text;
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
    std::mt19937 rng(7);
    const QStringList some = vocabulary(2000, rng);
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
