// The evaluation's own messages reach the user in the error dialog of the calculate button:
// they come in the build's language.
#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "evaluation/channel_table.h"
#include "evaluation/curves.h"
#include "evaluation/wav2v.h"
#include "support/shell_test_support.h"
#include "support/test_helpers.h"

namespace {

using evaluation::RunSeries;

Eigen::RowVectorXd steps(Eigen::Index n, double dt) {
    return Eigen::RowVectorXd::LinSpaced(n, 0, dt * double(n - 1));
}

evaluation::Physics road() {
    evaluation::Physics p;
    p.m = 200, p.cw = 0.5, p.A = 0.75, p.fro = 0.015, p.u = 1.325, p.fl = 1, p.J = 1, p.ur = 1;
    return p;
}

TEST(EvaluationMessages, ComeInTheGermanAndTheFrenchBuild) {
    const RunSeries run{steps(100, 0.05), steps(100, 0.1), steps(100, 50)};
    struct Case {
        const char* what;
        std::function<void()> fails;
        std::string de, fr;
    };
    const Case cases[] = {
        {"too few samples",
         [] {
             evaluation::curves(RunSeries{steps(2, 0.05), steps(2, 1), steps(2, 50)}, road());
         },
         "Der Lauf hat zu wenige Messwerte für eine Auswertung.",
         "L'essai compte trop peu de points de mesure pour être évalué."},
        {"no low-pass", [] { evaluation::lowpass_cutoff(-1, steps(50, 0.05)); },
         "Der Tiefpassfilter lässt sich nicht entwerfen: Die Zeiten des Laufs steigen nicht an "
         "oder die Filterlänge ist nicht größer als null.",
         "Impossible de concevoir le filtre passe-bas : les temps de l'essai ne sont pas "
         "croissants ou la longueur du filtre n'est pas positive."},
        {"no rolling resistance",
         [&] {
             evaluation::Physics p = road();
             p.fro.reset();
             evaluation::curves(run, p);
         },
         "Der Rollwiderstandsbeiwert ist keine Zahl.",
         "Le facteur de résistance au roulement n'est pas un nombre."},
        {"channel pair",
         [] {
             evaluation::ChannelParams p;
             p.sig_ch1 = 1, p.sig_ch2 = 5;
             evaluation::channel_table(Eigen::MatrixXd::Zero(100, 2), 8820, p, shell::text_table(),
                                       {});
         },
         "Diese Kanalwahl bieten die Kanallisten nicht an: (1, 5)",
         "Les listes des canaux ne proposent pas ce choix de canaux : (1, 5)"},
        {"equal rpm limits", [] { evaluation::toneGrid(3000, 3000, 1, 1500); },
         "Minimale und maximale Drehzahl müssen sich unterscheiden.",
         "Les régimes minimum et maximum doivent être différents."},
        {"rpm limit not finite",
         [] { evaluation::toneGrid(500, std::numeric_limits<double>::infinity(), 3, 1500); },
         "Die Drehzahlgrenzen und die Signale pro Umdrehung müssen endliche Zahlen sein.",
         "Les régimes minimum et maximum et le nombre de signaux par tour doivent être des "
         "nombres finis."},
    };
    for (const Case& c : cases) {
        shell_test::use_table(shell::german_table());
        EXPECT_EQ(testsupport::errorOf(c.fails), c.de) << c.what;
        shell_test::use_table(shell::french_table());
        EXPECT_EQ(testsupport::errorOf(c.fails), c.fr) << c.what;
    }
    shell_test::use_table(shell::german_table());
}

}  // namespace
