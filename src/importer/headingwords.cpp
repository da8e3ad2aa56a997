// The words of recipe headings as recipe sites write them in the languages of the book's
// users, and the class names of recipe plug-ins.
#include "importer/headingwords.h"

#include "importer/htmlpage.h"

#include <QRegularExpression>

namespace gratinel::importer {

namespace {

// Word lists as views whose lengths are known when compiled.
using Words = std::initializer_list<QStringView>;

// "Liste des ingrédients", "Il vous faut", "What you'll need", "Du behöver"...
constexpr Words kIngredientWords = {
    u"ingrédients", u"ingrédient", u"liste des ingrédients", u"liste d'ingrédients", u"il vous faut", u"ce qu'il vous faut",
    u"ingredients", u"ingredient", u"ingredient list", u"ingredients list", u"what you need", u"what you'll need",
    u"what you will need", u"you will need", u"you'll need", u"zutaten", u"zutatenliste", u"was du brauchst",
    u"das brauchst du", u"du brauchst", u"man braucht", u"ingrediënten", u"ingredienten", u"benodigdheden",
    u"wat heb je nodig", u"wat je nodig hebt", u"ingredienti", u"lista degli ingredienti", u"lista ingredienti",
    u"occorrente", u"cosa serve", u"cosa ti serve", u"ingredientes", u"lista de ingredientes", u"lo que necesitas",
    u"qué necesitas", u"você vai precisar", u"vai precisar", u"składniki", u"lista składników", u"potrzebne składniki",
    u"ingredienser", u"du behöver", u"du skal bruge", u"du trenger", u"ainekset", u"ainesosat", u"tarvitset",
    u"suroviny", u"přísady", u"ingredience", u"potřebujeme", u"budete potřebovat", u"hozzávalók", u"malzemeler",
    u"malzeme listesi", u"gerekli malzemeler", u"ingrediente", u"sastojci", u"namirnice"};

// "Préparation", "Method", "So geht's", "Modo de preparación", "Sposób przygotowania"...
constexpr Words kStepWords = {
    u"préparation", u"préparations", u"réalisation", u"étapes", u"étapes de préparation", u"étapes de la recette",
    u"instructions", u"méthode", u"mode opératoire", u"mode de préparation", u"déroulement", u"progression",
    u"procédé", u"déroulé", u"comment faire", u"comment préparer", u"comment réaliser", u"pas à pas", u"recette pas à pas",
    u"étape par étape", u"preparation", u"step by step", u"how to cook", u"how to prepare it", u"method", u"directions", u"steps", u"how to make", u"how to make it",
    u"how to prepare", u"procedure", u"cooking instructions", u"recipe steps", u"zubereitung", u"zubereitungsschritte",
    u"zubereitungsweise", u"anleitung", u"arbeitsschritte", u"so geht's", u"so wird's gemacht", u"schritt für schritt",
    u"bereiding", u"bereidingswijze", u"werkwijze", u"instructies", u"zo maak je het", u"zo maak je", u"aan de slag",
    u"stap voor stap", u"preparazione", u"procedimento", u"come preparare", u"come fare", u"istruzioni", u"esecuzione",
    u"passaggi", u"passo passo", u"preparación", u"elaboración", u"modo de preparación", u"modo de elaboración",
    u"instrucciones", u"pasos", u"procedimiento", u"cómo hacer", u"cómo preparar", u"paso a paso", u"modo de preparo",
    u"modo de preparação", u"preparação", u"preparo", u"instruções", u"passo a passo", u"como fazer", u"como preparar",
    u"przygotowanie", u"sposób przygotowania", u"wykonanie", u"sposób wykonania", u"instrukcje", u"jak zrobić",
    u"krok po kroku", u"gör så här", u"så här gör du", u"tillagning", u"instruktioner", u"tillvägagångssätt",
    u"sådan gør du", u"fremgangsmåde", u"fremgangsmåte", u"slik gjør du", u"tilberedning", u"valmistus",
    u"valmistusohje", u"valmistusohjeet", u"ohje", u"näin valmistat", u"aðferð", u"postup", u"postup přípravy",
    u"příprava", u"návod", u"elkészítés", u"elkészítése", u"elkészítés módja", u"így készül", u"hazırlanışı",
    u"yapılışı", u"nasıl yapılır", u"hazırlanması", u"mod de preparare", u"preparare", u"priprema", u"postupak",
    u"bereiden", u"zo bereid je het"};

// Parts of a recipe named alone as a heading.
constexpr Words kPartWords = {
    u"pâte", u"garniture", u"crème", u"sauce", u"glaçage", u"farce", u"marinade", u"vinaigrette", u"décoration",
    u"montage", u"dressage", u"finition", u"finitions", u"assemblage", u"cuisson", u"topping", u"filling", u"dough",
    u"frosting", u"icing", u"glaze", u"crust", u"dressing", u"assembly", u"füllung", u"teig", u"belag", u"guss",
    u"streusel", u"vulling", u"deeg", u"saus", u"glazuur", u"ripieno", u"impasto", u"glassa", u"relleno", u"masa",
    u"cobertura", u"recheio", u"massa", u"calda", u"nadzienie", u"ciasto", u"polewa", u"krem", u"fyllning", u"deg",
    u"fyld", u"fyll", u"täyte", u"taikina", u"náplň", u"těsto", u"poleva", u"töltelék", u"tészta", u"máz", u"hamur",
    u"şurup", u"sos"};

// Words that say whom or what a part is for: "Pour la pâte", "For the sauce", "Für den Teig".
constexpr Words kPartStarts = {
    u"pour la", u"pour le", u"pour les", u"pour l'", u"for the", u"für den", u"für die", u"für das", u"voor de",
    u"voor het", u"per il", u"per la", u"per lo", u"per i", u"per le", u"para el", u"para la", u"para los", u"para las",
    u"para o", u"para a", u"na ", u"til ", u"för "};

// Words that end a heading after the dish's name ("Menemen nasıl yapılır?", "A palacsinta
// hozzávalói").
constexpr Words kIngredientEnds = {u"malzemeleri", u"için malzemeler", u"hozzávalói", u"hozzávalók", u"ingrediënten",
                                   u"zutaten", u"ingredients"};
constexpr Words kStepEnds = {u"nasıl yapılır", u"yapılışı", u"hazırlanışı", u"elkészítése", u"elkészítés módja"};

// key ends with one of words after a dish's name, not after a determiner ("the ingredients").
bool endsWithWord(const QString &key, Words words)
{
    for (const QStringView word : words) {
        if (key.size() > word.size() && key.endsWith(word) && !key.at(key.size() - word.size() - 1).isLetterOrNumber()) {
            const QString before = key.left(key.size() - word.size()).trimmed();
            const QString last = before.mid(before.lastIndexOf(u' ') + 1);
            for (const char16_t *d : {u"the", u"of", u"our", u"your", u"my", u"die", u"der", u"unsere", u"de", u"onze", u"het"})
                if (last == QStringView(d))
                    return false;
            return true;
        }
    }
    return false;
}

// Parts of a page after which a recipe's lists are over.
constexpr Words kEndWords = {
    u"notes", u"note", u"remarques", u"remarque", u"conseils", u"conseil", u"astuces", u"astuce", u"le conseil",
    u"nos conseils", u"variantes", u"variante", u"tips", u"tip", u"variations", u"nutrition", u"valeurs nutritionnelles",
    u"informations nutritionnelles", u"nutrition facts", u"nutritional information", u"nährwerte", u"voedingswaarde",
    u"valori nutrizionali", u"información nutricional", u"informação nutricional", u"wartości odżywcze",
    u"commentaires", u"commentaire", u"comments", u"leave a reply", u"leave a comment",
    u"laisser un commentaire", u"laissez un commentaire", u"avis", u"vos avis", u"reviews", u"kommentare",
    u"kommentar", u"reacties", u"reactie", u"commenti", u"comentarios", u"comentários", u"komentarze",
    u"kommentarer", u"hozzászólások", u"yorumlar", u"tags", u"étiquettes", u"partager", u"share", u"share this",
    u"à propos", u"about", u"vous aimerez aussi", u"vous aimerez", u"à découvrir", u"découvrez aussi", u"retrouvez",
    u"dans la même catégorie", u"recettes similaires", u"d'autres recettes", u"autres recettes",
    u"you may also like", u"you might also like", u"related", u"more recipes", u"similar recipes",
    u"ähnliche rezepte", u"das könnte", u"weitere rezepte", u"gerelateerde", u"meer recepten",
    u"ricette correlate", u"potrebbe interessarti", u"recetas relacionadas", u"te puede interesar",
    u"receitas relacionadas", u"podobne przepisy", u"newsletter", u"faq", u"questions", u"fragen", u"vidéo",
    u"video", u"ustensiles", u"matériel", u"equipment", u"tools", u"utensilien", u"küchengeräte", u"keukengerei",
    u"attrezzatura", u"utensili", u"utensilios", u"utensílios", u"sprzęt", u"redskap", u"utstyr", u"udstyr",
    u"conservation", u"storage", u"aufbewahrung", u"bewaren", u"conservazione", u"conservación", u"conservação",
    u"tipps", u"tipp", u"hinweis", u"consigli", u"consiglio", u"consejos", u"consejo", u"dicas", u"dica",
    u"wskazówki", u"porady", u"vinkit", u"tippek", u"püf noktası", u"ipuçları"};

// Ingredients words that say what is needed, of food or of anything else.
constexpr Words kNeedWords = {
    u"il vous faut", u"ce qu'il vous faut", u"what you need", u"what you'll need", u"what you will need", u"you will need",
    u"you'll need", u"was du brauchst", u"das brauchst du", u"du brauchst", u"man braucht", u"benodigdheden",
    u"wat heb je nodig", u"wat je nodig hebt", u"occorrente", u"cosa serve", u"cosa ti serve", u"lo que necesitas",
    u"qué necesitas", u"você vai precisar", u"vai precisar", u"du behöver", u"du skal bruge", u"du trenger", u"tarvitset",
    u"potřebujeme", u"budete potřebovat"};

// After an ingredients word: the people or the part it is for ("pour 4 personnes", "(6 parts)",
// "für den Teig", "de la pâte"), never a quality ("de qualité", "bio").
constexpr Words kForWhom = {
    u"pour", u"for", u"für", u"fuer", u"per", u"para", u"voor", u"til", u"för", u"na", u"dla", u"do", u"à", u"au",
    u"aux", u"pro", u"az", u"a", u"de la", u"du", u"des", u"de l'", u"van", u"della", u"del", u"dello", u"degli",
    u"delle", u"dei", u"da", u"dos", u"das", u"de los", u"de las", u"ze", u"k", u"için", u"zum", u"zur"};

// After a steps word, what no recipe's steps are about.
constexpr Words kNotSteps = {
    u"calcul", u"commande", u"livraison", u"paiement", u"compte", u"données", u"visite", u"voyage", u"dossier",
    u"candidature", u"examen", u"order", u"delivery", u"shipping", u"payment", u"account", u"calculation", u"data",
    u"visit", u"trip", u"exam", u"bestellung", u"lieferung", u"zahlung", u"berechnung", u"versand", u"reise",
    u"bestelling", u"levering", u"betaling", u"ordine", u"consegna", u"pagamento", u"calcolo", u"pedido", u"envío",
    u"entrega", u"pago", u"cálculo", u"encomenda", u"zamówienia", u"dostawy", u"płatności", u"beställning",
    u"leverans", u"bestilling", u"objednávky", u"rendelés", u"sipariş", u"kargo", u"votre", u"vos", u"your",
    u"ihrer", u"ihres", u"deiner", u"deines", u"uw", u"vostra", u"vostro", u"tu", u"su", u"seu", u"sua", u"twojego"};

// Words of a rest that say how many it is for.
const QRegularExpression &yieldRest()
{
    static const QRegularExpression re(QStringLiteral(
        "\\d|\\b(?:personnes?|pers|parts?|portions?|persons?|people|servings?|serves|personen|portionen|stück|stuk|"
        "porzioni|persone|personas|raciones|porciones|pessoas|porções|porcje|porcji|osób|osoby|personer|portioner|"
        "porsjoner|annosta|annokset|henkilölle|porcí|adag|főre|kişilik|stuks?|pièces?|pieces?)\\b"),
        QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

bool isSpace(QChar c)
{
    return c.isSpace() || c == u'\u00A0';
}

// The longest of words that key starts with as whole words; its length, or 0.
qsizetype startWord(const QString &key, Words words)
{
    qsizetype best = 0;
    if (key.isEmpty())
        return 0;
    const QChar first = key.at(0);
    for (const QStringView word : words) {
        if (word.at(0) != first || word.size() <= best || !key.startsWith(word))
            continue;
        if (key.size() == word.size() || !key.at(word.size()).isLetterOrNumber())
            best = word.size();
    }
    return best;
}

bool containsWord(const QString &text, Words words)
{
    static const QRegularExpression separators(QStringLiteral("[^\\w']+"));
    for (const QString &token : text.split(separators, Qt::SkipEmptyParts))
        for (const QStringView w : words)
            if (token == w)
                return true;
    return false;
}

// A heading's text as compared, and as written: spaces collapsed, curly apostrophes straight,
// no bullet, number or sign first, no colon, dot or ellipsis last. Both have the same length.
struct Label {
    QString text;
    QString key; // lower case
};

Label labelOf(const QString &heading)
{
    QString t = collapseSpaces(heading);
    t.replace(u'’', u'\'').replace(u'ʼ', u'\'');
    qsizetype from = 0;
    while (from < t.size() && !t.at(from).isLetter() && !t.at(from).isDigit())
        ++from;
    qsizetype to = t.size();
    while (to > from && (t.at(to - 1) == u':' || t.at(to - 1) == u'：' || t.at(to - 1) == u'.' || t.at(to - 1) == u'…'
                         || isSpace(t.at(to - 1)) || t.at(to - 1) == u'!' || t.at(to - 1) == u'?'))
        --to;
    t = t.mid(from, to - from);
    QString key = t.toLower();
    if (key.size() != t.size())
        t = key;
    return {t, key};
}

// The rest after a word of length n, as written, without the signs that join it.
QString restAfter(const Label &label, qsizetype n)
{
    qsizetype i = n;
    while (i < label.text.size() && (isSpace(label.text.at(i)) || QStringView(u":-–—|/").contains(label.text.at(i))))
        ++i;
    return label.text.mid(i).trimmed();
}

// The words of a heading, with or without an article first ("Les ingrédients", "Die Zutaten").
qsizetype wordLength(const Label &label, Words words, qsizetype *skipped)
{
    *skipped = 0;
    if (const qsizetype n = startWord(label.key, words))
        return n;
    for (const QStringView a : {u"les ", u"the ", u"die ", u"de ", u"het ", u"gli ", u"i ", u"il ", u"lo ", u"los ",
                                    u"las ", u"os ", u"as ", u"le ", u"la ", u"el ", u"der ", u"a ", u"o ", u"l'", u"your ",
                                    u"here's ", u"here is ", u"voici "}) {
        if (label.key.startsWith(a)) {
            const Label rest{label.text.mid(a.size()), label.key.mid(a.size())};
            if (const qsizetype n = startWord(rest.key, words)) {
                *skipped = a.size();
                return n;
            }
        }
    }
    return 0;
}

} // namespace

HeadingKind classifyHeading(const QString &text, bool loose)
{
    HeadingKind kind;
    if (text.size() > 120)
        return kind;
    const Label label = labelOf(text);
    if (label.key.isEmpty() || label.key.size() > 80)
        return kind;

    // "Étape 2", "Step 3: the sauce", "Schritt 1".
    static const QRegularExpression numbered(QStringLiteral(
        "^(?:étape|etape|step|schritt|paso|passo|stap|krok|steg|trin|vaihe|korak|pas)\\s*(\\d{1,2})\\b"));
    if (const QRegularExpressionMatch m = numbered.match(label.key); m.hasMatch()) {
        kind.rest = restAfter(label, m.capturedEnd());
        // In a paragraph, "Étape 2 : Laissez refroidir" is the step itself.
        if (loose || kind.rest.isEmpty()) {
            kind.role = HeadingRole::Steps;
            kind.stepNumber = true;
        }
        return kind;
    }

    qsizetype skipped = 0;
    if (const qsizetype n = wordLength(label, kIngredientWords, &skipped)) {
        kind.rest = restAfter(label, skipped + n);
        qsizetype unused = 0;
        kind.needsFood = wordLength(label, kNeedWords, &unused) == n;
        if (kind.rest.isEmpty()) {
            kind.role = HeadingRole::Ingredients;
            return kind;
        }
        const QString rest = kind.rest.toLower();
        kind.restIsYield = rest.contains(yieldRest());
        const bool forWhom = rest.startsWith(u'(') || rest.at(0).isDigit() || startWord(rest, kForWhom) > 0;
        if (loose && forWhom && rest.split(u' ').size() <= 7)
            kind.role = HeadingRole::Ingredients;
        return kind;
    }
    if (const qsizetype n = wordLength(label, kStepWords, &skipped)) {
        kind.rest = restAfter(label, skipped + n);
        if (kind.rest.isEmpty()) {
            kind.role = HeadingRole::Steps;
            return kind;
        }
        // "Préparation : 15 min" is a time; "Méthode de calcul" no recipe's.
        const QString rest = kind.rest.toLower();
        static const QRegularExpression digit(QStringLiteral("\\d"));
        if (loose && !rest.contains(digit) && rest.split(u' ').size() <= 8 && !containsWord(rest, kNotSteps))
            kind.role = HeadingRole::Steps;
        return kind;
    }
    if (loose && label.key.count(u' ') < 6) {
        if (endsWithWord(label.key, kIngredientEnds)) {
            kind.role = HeadingRole::Ingredients;
            return kind;
        }
        if (endsWithWord(label.key, kStepEnds)) {
            kind.role = HeadingRole::Steps;
            return kind;
        }
    }
    // "3 commentaires", "Notes", "Vous aimerez aussi".
    QString key = label.key;
    while (!key.isEmpty() && (key.at(0).isDigit() || isSpace(key.at(0))))
        key.remove(0, 1);
    if (const qsizetype n = startWord(key, kEndWords); n > 0 && (key.size() == n || (loose && key.size() - n < 25)))
        kind.role = HeadingRole::End;
    return kind;
}

bool namesPart(const QString &heading)
{
    const Label label = labelOf(heading);
    if (label.key.isEmpty() || label.key.count(u' ') >= 6)
        return false;
    if (label.key.count(u' ') < 2 && startWord(label.key, kPartWords) > 0)
        return true;
    for (const QStringView start : kPartStarts)
        if (label.key.startsWith(start) && label.key.size() > start.size() + 2)
            return true;
    return false;
}

HeadingRole containerRole(const QString &classes)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:[a-z_-]*recipes?[a-z_-]*?[-_]?|wprm-|tasty-|mv-create-|ers|cooked-)?"
        "(ingredients|instructions|directions|method|steps|preparation)"
        "(?:[-_]{0,2}(?:list|container|section|wrap|wrapper|box|body|group|block|content))?$"));
    for (const QString &token : classes.toLower().split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch m = re.match(token);
        if (m.hasMatch())
            return m.captured(1) == QLatin1String("ingredients") ? HeadingRole::Ingredients : HeadingRole::Steps;
    }
    return HeadingRole::None;
}

bool isPluginTitle(const QString &classes)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:[a-z_-]*recipes?[-_]{1,2}(?:name|title)|mv-create-title|zlrecipe-title|ersname|recipe-card-title)$"));
    for (const QString &token : classes.toLower().split(u' ', Qt::SkipEmptyParts))
        if (re.match(token).hasMatch())
            return true;
    return false;
}

} // namespace gratinel::importer
