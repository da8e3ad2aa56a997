// The words recipes are written with, in the languages of the book's users.
#include "importer/recipewords.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace gratinel::importer {

namespace {

// Lines longer than this are read by their beginning.
constexpr qsizetype kReadChars = 400;

QString head(const QString &line)
{
    return line.left(kReadChars).toLower();
}

QStringList wordsOf(const QString &lower)
{
    static const QRegularExpression split(QStringLiteral("[^\\w'’]+"), QRegularExpression::UseUnicodePropertiesOption);
    return lower.split(split, Qt::SkipEmptyParts);
}

// Foods by the start of their words: plurals and compounds follow ("poire" gives "poires",
// "Zucker" gives "Zuckerrohr"). Stems of three letters or less must be the whole word.
const QSet<QString> &foodStems()
{
    static const QSet<QString> stems = [] {
        const char16_t *list[] = {
            // French
            u"farine", u"sucre", u"sel", u"beurre", u"œuf", u"oeuf", u"lait", u"eau", u"crème", u"huile", u"poivre", u"ail",
            u"oignon", u"échalote", u"tomate", u"citron", u"chocolat", u"riz", u"pâte", u"pâtes", u"poulet", u"bœuf", u"boeuf",
            u"porc", u"veau", u"agneau", u"poisson", u"saumon", u"thon", u"cabillaud", u"crevette", u"moule", u"légume",
            u"carotte", u"pomme", u"poire", u"fraise", u"framboise", u"cerise", u"abricot", u"pêche", u"banane", u"orange",
            u"fromage", u"comté", u"gruyère", u"parmesan", u"levure", u"vanille", u"cannelle", u"miel", u"persil", u"basilic",
            u"thym", u"laurier", u"ciboulette", u"coriandre", u"menthe", u"vin", u"bouillon", u"jus", u"pain", u"amande",
            u"noisette", u"noix", u"rhum", u"sirop", u"glace", u"glaçon", u"lardon", u"jambon", u"champignon", u"courgette",
            u"aubergine", u"poivron", u"poireau", u"épinard", u"chou", u"salade", u"concombre", u"céleri", u"lentille",
            u"haricot", u"pois", u"maïs", u"fécule", u"maïzena", u"gélatine", u"chapelure", u"moutarde", u"vinaigre",
            u"yaourt", u"mascarpone", u"ricotta", u"mozzarella", u"feta", u"semoule", u"muscade", u"cumin", u"curry",
            u"paprika", u"gingembre", u"safran", u"viande", u"saucisse", u"lard", u"bacon", u"canard", u"dinde", u"lapin",
            u"potimarron", u"courge", u"potiron", u"navet", u"radis", u"betterave", u"fenouil", u"artichaut", u"asperge",
            u"avocat", u"coco", u"ananas", u"mangue", u"raisin", u"prune", u"figue", u"datte", u"sésame", u"graine",
            u"herbe", u"épice", u"bière", u"cidre", u"cognac", u"calvados", u"kirsch", u"prosecco", u"sucre", u"cassonade",
            u"chantilly", u"pâte", u"feuilletée", u"brisée", u"sablée", u"tofu", u"quinoa", u"boulgour", u"couscous",
            // English
            u"flour", u"sugar", u"salt", u"butter", u"egg", u"eggs", u"milk", u"water", u"cream", u"oil", u"pepper",
            u"garlic", u"onion", u"shallot", u"tomato", u"lemon", u"lime", u"chocolate", u"rice", u"pasta", u"noodle",
            u"chicken", u"beef", u"pork", u"lamb", u"fish", u"salmon", u"tuna", u"cod", u"shrimp", u"prawn", u"carrot",
            u"potato", u"apple", u"pear", u"strawberr", u"raspberr", u"blueberr", u"cherr", u"banana", u"cheese", u"yeast",
            u"vanilla", u"cinnamon", u"honey", u"parsley", u"basil", u"thyme", u"coriander", u"cilantro", u"mint", u"wine",
            u"broth", u"juice", u"bread", u"almond", u"walnut", u"nut", u"nuts", u"rum", u"gin", u"vodka",
            u"syrup", u"ice", u"ham", u"mushroom", u"zucchini", u"courgette", u"spinach", u"cabbage", u"cucumber", u"celery",
            u"lentil", u"bean", u"peas", u"corn", u"cornflour", u"cornstarch", u"gelatin", u"breadcrumb", u"mustard",
            u"vinegar", u"yogurt", u"yoghurt", u"nutmeg", u"ginger", u"meat", u"sausage", u"chickpea", u"chili", u"chilli",
            u"spice", u"herb", u"vegetable", u"hackfleisch", u"leek", u"squash", u"pumpkin", u"coconut", u"soy", u"sauce", u"paste", u"dough",
            // German
            u"mehl", u"zucker", u"salz", u"ei", u"eier", u"eigelb", u"eiweiß", u"milch", u"wasser", u"sahne", u"öl",
            u"pfeffer", u"knoblauch", u"zwiebel", u"tomate", u"zitrone", u"schokolade", u"reis", u"nudel", u"hähnchen",
            u"huhn", u"rind", u"schwein", u"fisch", u"lachs", u"möhre", u"karotte", u"kartoffel", u"apfel", u"äpfel",
            u"birne", u"erdbeer", u"himbeer", u"kirsch", u"käse", u"hefe", u"vanille", u"zimt", u"honig", u"petersilie",
            u"basilikum", u"wein", u"brühe", u"saft", u"brot", u"mandel", u"nuss", u"rosine", u"speck", u"schinken", u"pilz",
            u"spinat", u"kohl", u"gurke", u"sellerie", u"linse", u"bohne", u"erbse", u"senf", u"essig", u"joghurt",
            u"quark", u"butter", u"fleisch", u"wurst", u"würstchen", u"suppengrün", u"lauch", u"gemüse", u"kräuter",
            u"gewürz", u"paprika", u"teig", u"backpulver",
            // Dutch
            u"bloem", u"suiker", u"zout", u"boter", u"roomboter", u"melk", u"room", u"olie", u"peper", u"knoflook", u"ui",
            u"uien", u"citroen", u"rijst", u"kip", u"rundvlees", u"varken", u"vis", u"zalm", u"wortel", u"aardappel",
            u"appel", u"appels", u"peer", u"aardbei", u"kaas", u"gist", u"kaneel", u"honing", u"peterselie", u"wijn",
            u"bouillon", u"sap", u"brood", u"rozijn", u"spek", u"ham", u"champignon", u"prei", u"spinazie", u"kool",
            u"boerenkool", u"komkommer", u"selderij", u"linzen", u"bonen", u"erwten", u"mosterd", u"azijn", u"vlees",
            u"gehakt", u"worst", u"rookworst", u"bakmeel", u"goudreinet", u"basterdsuiker", u"ei",
            // Italian
            u"farina", u"zucchero", u"burro", u"uovo", u"uova", u"latte", u"acqua", u"panna", u"olio", u"pepe",
            u"aglio", u"cipolla", u"pomodor", u"limone", u"cioccolat", u"riso", u"pollo", u"manzo", u"maiale", u"pesce",
            u"salmone", u"carota", u"patata", u"patate", u"mela", u"mele", u"pera", u"fragol", u"formaggio", u"parmigiano",
            u"lievito", u"vaniglia", u"cannella", u"miele", u"prezzemolo", u"basilico", u"vino", u"brodo", u"succo",
            u"pane", u"mandorl", u"noci", u"prosciutto", u"funghi", u"porcini", u"spinaci", u"sedano", u"lenticchie",
            u"fagioli", u"piselli", u"aceto", u"carne", u"salsiccia", u"scalogno", u"caffè", u"savoiardi", u"cacao",
            u"tuorl", u"album", u"pasta", u"zucchine", u"melanzane", u"peperon",
            // Spanish, Portuguese
            u"harina", u"azúcar", u"sal", u"mantequilla", u"huevo", u"huevos", u"leche", u"agua", u"nata", u"aceite",
            u"pimienta", u"ajo", u"cebolla", u"tomate", u"limón", u"arroz", u"pollo", u"ternera", u"cerdo", u"pescado",
            u"zanahoria", u"patata", u"manzana", u"fresa", u"queso", u"levadura", u"canela", u"perejil", u"caldo", u"zumo",
            u"pan", u"almendra", u"jamón", u"setas", u"espinaca", u"pepino", u"pimiento", u"lenteja", u"garbanzo",
            u"vinagre", u"carne", u"chorizo", u"farinha", u"açúcar", u"manteiga", u"ovo", u"ovos", u"leite", u"água",
            u"azeite", u"óleo", u"pimenta", u"alho", u"cebola", u"frango", u"peixe", u"bacalhau", u"cenoura", u"batata",
            u"maçã", u"morango", u"queijo", u"fermento", u"canela", u"salsa", u"vinho", u"couve", u"chouriço", u"chocolate",
            u"fubá", u"milho", u"feijão", u"creme",
            // Polish, Czech, Hungarian, Turkish, Croatian, Romanian
            u"mąka", u"mąki", u"cukier", u"cukru", u"sól", u"soli", u"masło", u"masła", u"jajko", u"jajka", u"jaj", u"mleko",
            u"mleka", u"woda", u"wody", u"wodzie", u"śmietan", u"olej", u"oleju", u"pieprz", u"czosnek", u"cebul", u"pomidor",
            u"ziemniak", u"twaróg", u"twarogu", u"kurczak", u"wołow", u"wieprzow", u"marchew", u"jabłk",
            u"drożdż", u"mouka", u"mouky", u"cukr", u"sůl", u"máslo", u"másla", u"vejce", u"mléko", u"voda", u"smetan",
            u"olej", u"pepř", u"česnek", u"cibule", u"mrkev", u"mrkve", u"brambor", u"maso", u"hovězí", u"vepřov", u"kuře",
            u"celer", u"petržel", u"liszt", u"cukor", u"só", u"vaj", u"tojás", u"tej", u"víz", u"tejföl", u"olaj", u"bors",
            u"fokhagyma", u"hagyma", u"vöröshagyma", u"paradicsom", u"burgonya", u"krumpli", u"hús", u"marha", u"sertés",
            u"csirke", u"sárgarépa", u"pirospaprika", u"zsír", u"kömény", u"şeker", u"tuz", u"tereyağ", u"yumurta",
            u"süt", u"yağ", u"biber", u"karabiber", u"sarımsak", u"soğan", u"domates", u"patates", u"tavuk",
            u"havuç", u"mercimek", u"pirinç", u"peynir", u"brašno", u"šećer", u"sol", u"jaja", u"mlijeko", u"făină",
            u"zahăr", u"ouă", u"lapte",
            // Nordic
            u"mjöl", u"vetemjöl", u"socker", u"strösocker", u"salt", u"smör", u"smør", u"ägg", u"æg", u"egg", u"mjölk",
            u"mælk", u"melk", u"grädde", u"fløde", u"fløte", u"matfløte", u"olja", u"olie", u"peppar", u"peber", u"vitlök",
            u"hvidløg", u"hvitløk", u"lök", u"løg", u"løk", u"potatis", u"kartofler", u"poteter", u"kyckling", u"kylling",
            u"fisk", u"lax", u"laks", u"torsk", u"torskefilet", u"morot", u"gulerod", u"gulrot", u"gulrøtter", u"jäst",
            u"gær", u"kardemumma", u"kanel", u"ost", u"kød", u"kjøtt", u"kött", u"havregryn", u"purre", u"dill",
            u"fiskekraft", u"jauho", u"jauhoja", u"ruisjauho", u"vehnäjauho", u"sokeri", u"suola", u"suolaa", u"voi",
            u"muna", u"maito", u"maitoa", u"vesi", u"vettä", u"riisi", u"puuroriisi", u"kerma", u"hakket"};
        QSet<QString> s;
        for (const char16_t *w : list)
            s.insert(QString::fromUtf16(w));
        return s;
    }();
    return stems;
}

bool isFood(const QString &word)
{
    const QSet<QString> &stems = foodStems();
    if (stems.contains(word))
        return true;
    for (qsizetype n = std::min<qsizetype>(word.size() - 1, 14); n >= 4; --n)
        if (stems.contains(word.left(n)))
            return true;
    return false;
}

} // namespace

bool startsWithQuantity(const QString &line)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:[-–•*·▪]\\s*)?(?:\\d|[½¼¾⅓⅔⅛⅜⅝⅞]|(?:un|une|deux|trois|quatre|cinq|six|dix|douze|quelques|one|two|three|four|"
        "five|six|ten|twelve|a few|ein|eine|einen|zwei|drei|vier|fünf|sechs|zehn|een|twee|drie|vier|vijf|uno|una|due|tre|"
        "quattro|cinque|dos|tres|cuatro|cinco|um|uma|dois|duas|três|quatro|jeden|jedna|dwa|dwie|trzy|cztery|en|ett|två|"
        "tre|fire|fyra|yksi|kaksi|jeden|dva|tři|egy|két|kettő|három|bir|iki|üç)\\b)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re.match(line.left(kReadChars)).hasMatch();
}

bool hasUnit(const QString &line)
{
    // Abbreviations after a number ("200 g", "3 EL", "2 tbsp"), words alone ("une pincée").
    static const QRegularExpression re(QStringLiteral(
        "(?:\\d|[½¼¾⅓⅔⅛])\\s*(?:g|gr|grs?|kg|dkg|dag|mg|ml|cl|dl|l|oz|lbs?|el|tl|ek|kk|ss|ts|cs|cc|càs|càc|msk|tsk|krm|spsk|knsp|"
        "tbsps?|tsps?|stk|st|rkl|prise|cans?|tins?|c\\.\\s*à\\s*(?:s|c|soupe|café))\\b|"
        "\\b(?:pincées?|cuill[eè]res?|tasses?|verres?|gousses?|bottes?|tranches?|brins?|sachets?|boîtes?|filet|zeste|"
        "cups?|tablespoons?|teaspoons?|pinch|dash|cloves?|handful|bunch|slices?|sprigs?|packets?|msp|bund|päckchen|"
        "becher|dosen?|zehen?|scheiben?|stange|eetlepels?|theelepels?|snufje|teentjes?|blikje|zakje|cucchiai?o?|"
        "cucchiaini?|pizzico|spicchi?o?|bicchiere|q\\.\\s?b\\.?|cucharadas?|cucharaditas?|pizca|dientes?|tazas?|vasos?|"
        "colher(?:es)?|xícaras?|pitada|dentes?|latas?|łyżk[aiek]|łyżeczk[aiek]|szczypta|szklank[aie]|ząb(?:ek|ki)|"
        "lžíce|lžičk[ay]|špetka|stroužky?|hrnek|evőkanál|teáskanál|csipet|gerezd|bögre|bardağı|kaşığı|tutam|"
        "to taste|au goût|selon votre goût|nach belieben|naar smaak|al gusto|a gosto|q\\.s\\.)(?!\\w)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re.match(line.left(kReadChars)).hasMatch();
}

bool hasFoodWord(const QString &line)
{
    for (const QString &w : wordsOf(head(line)))
        if (isFood(w))
            return true;
    return false;
}

bool isSentence(const QString &line)
{
    const QString t = line.trimmed();
    const int words = int(wordsOf(head(t)).size());
    return words >= 16 || (words >= 6 && (t.endsWith(u'.') || t.endsWith(u'!') || t.endsWith(u'?')));
}

bool readsAsIngredient(const QString &line)
{
    static const QRegularExpression filter(QStringLiteral("\\(\\d+\\)\\s*$"));
    if (line.size() > 250 || line.contains(filter))
        return false;
    const int words = int(wordsOf(head(line)).size());
    if (words > 25)
        return false;
    if (startsWithQuantity(line) || hasUnit(line))
        return true;
    return !isSentence(line) && hasFoodWord(line);
}

bool speaksOfCooking(const QString &line)
{
    static const QRegularExpression re(QStringLiteral(
        "\\d\\s*(?:°|º|degr|grad|stopni|fok|derece|asteessa|c\\b|f\\b)|"
        "\\d\\s*(?:min|mn|minutes?|minuten|minuti|minutos|minut|minuter|minutter|minuuttia|perc|dakika|h\\b|heures?|"
        "hours?|stunden?|ore|horas?|godzin|timer|tunti|hodin|óra|saat)|"
        "\\b(?:mélang|cuire|cuisez|cuisson|cuit|fouett|éminc|hach|enfourn|préchauff|chauff|versez|incorporez|étalez|"
        "égoutt|dorez|servez|serve|servir|servire|sirv|servieren|serveer|faites (?:revenir|fondre|cuire|dorer|chauffer|bouillir)|laissez (?:reposer|cuire|refroidir|mijoter)|"
        "mix|bake|baking|whisk|stir|simmer|boil|chop|fry|roast|knead|heat|beat|fold|saut|blend|melt|drain|grill|"
        "mischen|misch|verrühr|rühr|backen|backe|gebacken|backofen|koch|erhitz|vorheiz|brat|schneid|würz|meng|roer|bak|"
        "kook|verwarm|snijd|klop|mescol|cuoc|cuoci|forno|inforna|tagli|sbatt|frigg|mezcl|cocin|horne|fr[ií]e|corta|"
        "bate\\b|mistur|coz[aei]|asse\\b|bata\\b|corte\\b|wymieszaj|piecz|piec|gotuj|smaż|pokrój|blanda|rör|grädda|"
        "koka|stek|bland|kog|steg|sekoita|paista|keitä|smíchej|pečte|vařte|peč|keverj|süss|főz|karıştır|pişir|kavur|"
        "kaynat)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re.match(line.left(kReadChars)).hasMatch() || hasFoodWord(line);
}

bool isYieldLine(const QString &line)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:pour|for|serves|makes|yield|yields|für|voor|per|para|rende|rinde|dla|na|för|til|pro|około|ca\\.?|environ)?\\s*:?\\s*"
        "\\d+(?:\\s*(?:à|-|–|to|a|bis|tot)\\s*\\d+)?\\s*"
        "(?:personnes?|pers\\.?|parts?|portions?|people|persons?|servings?|pieces?|slices?|personen|portionen|stück|stuks?|"
        "punten|persone|porzioni|personas|raciones|porciones|pessoas|porções|fatias|osób|osoby|porcj[ie]|sztuk|personer|"
        "portioner|porsjoner|bullar|stk|kpl|annosta|osob|adag|főre|kişilik|pièces?|cookies|muffins|verrines)?\\s*[.:]?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QString t = line.trimmed();
    return t.size() <= 40 && std::any_of(t.cbegin(), t.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; }) && re.match(t).hasMatch()
           && !hasFoodWord(t);
}

bool isTimeLine(const QString &line)
{
    static const QRegularExpression re(QStringLiteral(
        "^(?:temps (?:de )?(?:préparation|cuisson|repos|total)|(?:préparation|cuisson|repos|prep|cook|total|rest)\\s*:\\s*\\d|"
        "(?:prep|preparation|cooking|cook|total|resting) time|zubereitungszeit|backzeit|kochzeit|arbeitszeit|"
        "bereidingstijd|tempo di|tiempo de|tempo de|czas przygotowania|tillagningstid)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return line.size() <= 80 && re.match(line.trimmed()).hasMatch();
}

bool isChatter(const QString &line)
{
    // Closing words: at the start of the line.
    static const QRegularExpression closing(QStringLiteral(
        "^(?:et )?(?:bon appétit|bonne dégustation|régalez-vous|enjoy|happy (?:baking|cooking)|guten appetit|"
        "lasst es euch schmecken|lass es dir schmecken|viel spaß|eet smakelijk|buon appetito|buen provecho|"
        "que aproveche|bom apetite|smacznego|smaklig måltid|velbekomme|god appetitt|hyvää ruokahalua|dobrou chuť|"
        "jó étvágyat|afiyet olsun|à bientôt|xoxo)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    // Calls to share, comment, subscribe or read more: anywhere.
    static const QRegularExpression call(QStringLiteral(
        "si vous avez aimé|si cette recette vous a plu|partagez|n'hésitez pas à|laissez(?:-moi)? un commentaire|abonnez-vous|"
        "retrouvez (?:aussi|toutes|mes|nos)|découvrez aussi|vous aimerez aussi|if you (?:make|try|made|liked|enjoyed)|"
        "let me know|leave a (?:comment|review)|tag me|pin (?:it|this)|share (?:it|this)|subscribe|check out (?:my|our|these)|"
        "looking for more|you might also like|wenn dir das rezept|teile es|hinterlasse|laat (?:een|hieronder)|vond je dit recept|"
        "se la ricetta vi|condividet|si te ha gustado|compártel|se gostou|partilhe|compartilhe|jeśli przepis|udostępnij|"
        "^recette (?:envoyée|proposée|publiée) par|^(?:recipe|posted) (?:by|from|courtesy)|^eingesandt von|^ingezonden door|"
        "à consommer avec modération|l'abus d'alcool|drink responsibly|^(?:à )?(?:voir|lire) aussi|^découvrez|^see also|"
        "^read more|^siehe auch|^zie ook|^vedi anche|^ver también|^veja também"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    const QString t = line.left(kReadChars);
    if (closing.match(t).hasMatch() || call.match(t).hasMatch())
        return true;
    // "Bonne confiture !", "Miam !": an exclamation that says nothing of cooking.
    return t.endsWith(u'!') && t.count(u' ') < 4 && !speaksOfCooking(t);
}

QStringList foodCandidates(const QString &line)
{
    QStringList out;
    for (const QString &w : wordsOf(head(line)))
        if (w.size() >= 4 && !w.at(0).isDigit())
            out << w;
    return out;
}

} // namespace gratinel::importer
