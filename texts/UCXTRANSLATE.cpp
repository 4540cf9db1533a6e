#include "texts/UCXTRANSLATE.h"

#include <QCoreApplication>
#include <QHash>
#include <QPointer>
#include <QString>
#include <QTranslator>

const std::array<GridTextPair, 53> GridTextTable = {{
    // filter builder and its dialog
    {"Filter", "Filtra"},
    {"Add &Condition", "Aggiungi una &Condizione"},
    {"Add &Group", "Aggiungi &Gruppo"},
    {"&Remove Row", "&Rimuovi Riga"},
    {"Clear &All", "Azzera tutto"},
    {"press the button to add a new condition", "premi qui per aggiungere una nuova condizione"},
    {"applies to the following conditions", "<Sottogruppo>"},
    {"<root>", "<Gruppo principale>"},
    {"<empty>", "<vuoto>"},
    {"Invalid value", "Valore non valido"},
    {"Filter builder", "Generazione filtro"},
    {"Open an existing filter", "Apri un filtro esistente"},
    {"Save the active filter to file", "Salva in un file il filtro attivo"},
    {"&Save As...", "&Salva come..."},
    {"&Open...", "A&pri..."},
    {"&Apply", "&Applica"},
    {"Cancel", "Annulla"},
    {"Filters (*.flt)|*.flt", "Filters ( *.flt )|*.flt"},
    // custom filter dialog
    {"Show rows where:", "Mostra le righe dove:"},
    {"Use", "Usa"},
    {"to represent any single character", "per rappresentare ogni singolo carattere"},
    {"to represent any series of characters", "per rappresentare qualsiasi serie di caratteri"},
    // filter operators and the words of a filter's description
    {"equals", "e' uguale a"},
    {"does not equal", "e' diverso da"},
    {"is less than", "e' minore di"},
    {"is less than or equal to", "e' minore o uguale a"},
    {"is greater than", "e' maggiore di"},
    {"is greater than or equal to", "e' maggiore o uguale a"},
    {"between", "nel range tra"},
    {"not between", "fuori dal range tra"},
    {"in", "incluso"},
    {"not in", "non incluso"},
    {"is yesterday", "e' ieri"},
    {"is today", "e' oggi"},
    {"is tomorrow", "e' domani"},
    {"and", "AND"},
    {"or", "OR"},
    {"is blank", "e' vuoto"},
    {"is not blank", "non e' vuoto"},
    {"begins with", "comincia con"},
    {"does not begin with", "non comincia con"},
    {"ends with", "finisce con"},
    {"does not end with", "non finisce con"},
    {"contains", "contiene"},
    {"does not contain", "non contiene"},
    {"(All)", "(Tutti)"},
    {"(Custom...)", "(Personalizza...)"},
    {"(Blanks)", "(Vuoti)"},
    {"(NonBlanks)", "(NonVuoti)"},
    // grid
    {"<No data to display>", "<Nessuna riga da mostrare>"},
    {"<Filter is Empty>", "<Nessun filtro>"},
    {"Drag a column header here to group by that column",
     "Per raggruppare per una colonna trascinarla qui.."},
    {"Customize...", "Filtra..."},
}};

namespace {

constexpr const char *kGridContext = "kit::Grid";

// Answers the grid's context alone, from the table, whole texts compared without regard to case.
class GridTextTranslator : public QTranslator {
public:
    explicit GridTextTranslator(QObject *parent)
        : QTranslator(parent)
    {
        for (const GridTextPair &pair : GridTextTable)
            texts_.insert(QString::fromUtf8(pair.english).toCaseFolded(),
                          QString::fromUtf8(pair.italian));
    }

    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (!context || qstrcmp(context, kGridContext) != 0 || !sourceText)
            return {};
        return texts_.value(QString::fromUtf8(sourceText).toCaseFolded());
    }

    // QCoreApplication::installTranslator skips a translator that says it is empty.
    bool isEmpty() const override { return false; }

private:
    QHash<QString, QString> texts_;
};

}  // namespace

void InstallGridTexts()
{
    static QPointer<GridTextTranslator> installed;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app || installed)
        return;
    // The application owns the translator, so it lives exactly as long as the texts are needed
    // (a later application object gets its own).
    installed = new GridTextTranslator(app);
    QCoreApplication::installTranslator(installed);
}
