// The catalogue of the texts the program shows the user: pane lines, message
// boxes, reader errors, failure texts, headings of the files it writes. Each
// text is a named entry holding a printf-style format as Windows-1252 bytes
// (accents as escapes, "\xe9" is 'é'), with the types of its arguments:
//
//     inline constexpr Text<std::string_view, int> kName{"... %8s ... %d ..."};
//     std::string line = TextOf(kName, point.name, count);
//
// The constructor runs at compile time and refuses a format whose conversions
// disagree with the argument types, so a text and its call sites cannot drift
// apart. Conversions: %d (int), %zu (std::size_t), %s (std::string_view, any
// string), %f (double, through FormatFixed); flag '-' (left-aligned), a width,
// a precision for %f; "%%" is a '%'. TextOf never looks at the locale.
//
// A new text goes here, in the group of the part of the program that shows it,
// its French spelling in the comment above it. Texts of the window alone (Qt
// menus, captions) stay in src/shell/gui.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>

namespace calctopo {

namespace text_format {

enum class ArgumentKind { Integer, Size, String, Real };

template <typename T>
consteval ArgumentKind KindOf() {
    if constexpr (std::is_same_v<T, int>) {
        return ArgumentKind::Integer;
    } else if constexpr (std::is_same_v<T, std::size_t>) {
        return ArgumentKind::Size;
    } else if constexpr (std::is_same_v<T, std::string_view>) {
        return ArgumentKind::String;
    } else {
        static_assert(std::is_same_v<T, double>,
                      "a text argument is int, std::size_t, std::string_view or double");
        return ArgumentKind::Real;
    }
}

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// True when the conversions of `format` take, in order, exactly arguments of
// the kinds given.
template <typename... Args>
consteval bool FormatFits(const char* format) {
    constexpr ArgumentKind kinds[] = {KindOf<Args>()..., ArgumentKind::Integer};
    std::size_t used = 0;
    for (std::size_t i = 0; format[i] != '\0'; ++i) {
        if (format[i] != '%') {
            continue;
        }
        ++i;
        if (format[i] == '%') {
            continue;
        }
        while (format[i] == '-') {
            ++i;
        }
        while (IsDigit(format[i])) {
            ++i;
        }
        bool precision = false;
        if (format[i] == '.') {
            precision = true;
            ++i;
            while (IsDigit(format[i])) {
                ++i;
            }
        }
        const bool size = format[i] == 'z';
        if (size) {
            ++i;
        }
        ArgumentKind kind{};
        if (format[i] == 'd' && !size && !precision) {
            kind = ArgumentKind::Integer;
        } else if (format[i] == 'u' && size && !precision) {
            kind = ArgumentKind::Size;
        } else if (format[i] == 's' && !size && !precision) {
            kind = ArgumentKind::String;
        } else if (format[i] == 'f' && !size) {
            kind = ArgumentKind::Real;
        } else {
            return false;  // an unknown conversion, or the format ends in '%'
        }
        if (used >= sizeof...(Args) || kinds[used] != kind) {
            return false;
        }
        ++used;
    }
    return used == sizeof...(Args);
}

// One argument of TextOf, as the formatter reads it.
struct Argument {
    ArgumentKind kind;
    long long integer = 0;
    std::size_t size = 0;
    double real = 0.0;
    std::string_view text;

    Argument(int value) : kind(ArgumentKind::Integer), integer(value) {}
    Argument(std::size_t value) : kind(ArgumentKind::Size), size(value) {}
    Argument(double value) : kind(ArgumentKind::Real), real(value) {}
    Argument(std::string_view value) : kind(ArgumentKind::String), text(value) {}
};

// The format with its arguments, in the order the conversions take them.
std::string Apply(const char* format, std::initializer_list<Argument> arguments);
// The same with the format's Windows-1252 bytes turned into UTF-8 first.
std::string ApplyUtf8(const char* format, std::initializer_list<Argument> arguments);

}  // namespace text_format

// A text of the catalogue: its format, checked against Args at compile time.
template <typename... Args>
class Text {
  public:
    consteval Text(const char* format) : format_(format) {
        if (!text_format::FormatFits<Args...>(format)) {
            throw "the conversions of this text disagree with its argument types";
        }
    }
    constexpr const char* Format() const { return format_; }

  private:
    const char* format_;
};

// The text with its arguments: the same bytes as C's printf would give, but
// never depending on the locale.
template <typename... Args>
std::string TextOf(const Text<Args...>& text, const std::type_identity_t<Args>&... arguments) {
    return text_format::Apply(text.Format(), {text_format::Argument(arguments)...});
}

// The same text in UTF-8, for the terminal, with string arguments in UTF-8
// already (what the batch command was given). Only the catalogue's own bytes
// are converted; widths count bytes, as printf's do.
template <typename... Args>
std::string Utf8TextOf(const Text<Args...>& text, const std::type_identity_t<Args>&... arguments) {
    return text_format::ApplyUtf8(text.Format(), {text_format::Argument(arguments)...});
}

namespace texts {

// ---------------------------------------------------------------------------
// Messages shared by the readers, the load action and the driver.
// "Le fichier %s n'existe pas " (message box of the load action; trailing blank)
inline constexpr Text<std::string_view> kFileDoesNotExist{"Le fichier %s n'existe pas "};
// "L'ouverture du fichier %s est impossible " (unopenable observations file; trailing blank)
inline constexpr Text<std::string_view> kCannotOpenFile{
    "L'ouverture du fichier %s est impossible "};
// "Erreur de lecture du fichier %s ligne %d champ %s : " (bad observation field: file name, line,
// field number)
inline constexpr Text<std::string_view, int, std::string_view> kObservationFieldError{
    "Erreur de lecture du fichier %s ligne %d champ %s : "};
// "Azimut sans référence ligne : %d" (a direction outside its station's round)
inline constexpr Text<int> kDirectionWithoutRound{
    "Azimut sans r\xe9"
    "f\xe9rence ligne : %d"};
// "Point : %8s calculé" (a point completed)
inline constexpr Text<std::string_view> kPointComputed{"Point : %8s calcul\xe9"};
// "Point : %8s non calculé" (a point left incomplete)
inline constexpr Text<std::string_view> kPointNotComputed{"Point : %8s non calcul\xe9"};
// "... (%zu caractères)" (after the cut text echoed from a file: its full length)
inline constexpr Text<std::size_t> kEchoedLength{"... (%zu caract\xe8res)"};

// ---------------------------------------------------------------------------
// The readers (standard output and pane).
// "L'ouverture du fichier  %s est impossible " (unopenable coordinates file: two blanks before the
// name, one trailing)
inline constexpr Text<std::string_view> kCoordinatesCannotOpen{
    "L'ouverture du fichier  %s est impossible "};
// "Nombre maximum de points atteint : %s" (the point table is full: the name field of the line)
inline constexpr Text<std::string_view> kPointLimit{"Nombre maximum de points atteint : %s"};
// "erreur de lecture du fichier des points ligne : %s champ : %s" (bad coordinates field: the line
// number (six wide) and the field)
inline constexpr Text<std::string_view, std::string_view> kPointLineError{
    "erreur de lecture du fichier des points ligne : %s champ : %s"};
// "erreur de lecture du fichier des points ligne : %s ligne incomplète" (coordinates line with too
// few fields: the line number (six wide))
inline constexpr Text<std::string_view> kPointLineIncomplete{
    "erreur de lecture du fichier des points ligne : %s ligne incompl\xe8te"};
// "erreur de lecture du fichier d'observations ligne : %s ligne incomplète" (observation line with
// too few fields: the line number (six wide))
inline constexpr Text<std::string_view> kObservationLineIncomplete{
    "erreur de lecture du fichier d'observations ligne : %s ligne incompl\xe8te"};
// "%6d" (a line number in the readers' messages)
inline constexpr Text<int> kLineNumber{"%6d"};
// "Nombre de points connus : %6d" (after the coordinates file)
inline constexpr Text<int> kKnownPointCount{"Nombre de points connus : %6d"};
// "Nombre maximum d'observations atteint ligne : %d" (an observation table is full)
inline constexpr Text<int> kObservationLimit{"Nombre maximum d'observations atteint ligne : %d"};
// "Inclusion circulaire du fichier %s ignorée" (an include of a file already being read on the
// include chain)
inline constexpr Text<std::string_view> kCircularInclude{
    "Inclusion circulaire du fichier %s ignor\xe9"
    "e"};
// "Inclusions imbriquées sur plus de %d niveaux : le fichier %s n'est pas lu" (an include chain
// longer than the program follows)
inline constexpr Text<int, std::string_view> kIncludeTooDeep{
    "Inclusions imbriqu\xe9"
    "es sur plus de %d niveaux : le fichier %s n'est pas lu"};

// ---------------------------------------------------------------------------
// The load's statistics and limits.
// "Nombre total de points  : %6d"
inline constexpr Text<int> kCountPoints{"Nombre total de points  : %6d"};
// "Nombre d'azimuts        : %6d"
inline constexpr Text<int> kCountDirections{"Nombre d'azimuts        : %6d"};
// "Nombre de zénithales    : %6d"
inline constexpr Text<int> kCountZeniths{"Nombre de z\xe9nithales    : %6d"};
// "Nombre de distances     : %6d"
inline constexpr Text<int> kCountDistances{"Nombre de distances     : %6d"};
// "Nombre de dénivellées   : %6d" (written so, with two l)
inline constexpr Text<int> kCountHeightDifferences{
    "Nombre de d\xe9nivell\xe9"
    "es   : %6d"};
// "Nombre de gisements     : %6d"
inline constexpr Text<int> kCountBearings{"Nombre de gisements     : %6d"};
// "Nombre de tours         : %6d"
inline constexpr Text<int> kCountRounds{"Nombre de tours         : %6d"};
// "Nombre maximum de visées atteint : %d" (the sight table is full: the count asked for)
inline constexpr Text<int> kSightLimit{
    "Nombre maximum de vis\xe9"
    "es atteint : %d"};

// ---------------------------------------------------------------------------
// The driver and the methods (pane lines: the point, then the points used).
// "Aucun point ne peut être déterminé" (message box: no point can be placed from the start point)
inline constexpr Text<> kNothingDeterminable{"Aucun point ne peut \xeatre d\xe9termin\xe9"};
// "%8s rayonné de %8s"
inline constexpr Text<std::string_view, std::string_view> kRadiated{"%8s rayonn\xe9 de %8s"};
// "%8s intersecté de %8s et %s"
inline constexpr Text<std::string_view, std::string_view, std::string_view> kIntersected{
    "%8s intersect\xe9 de %8s et %s"};
// "%8s triangulé de %8s et %s"
inline constexpr Text<std::string_view, std::string_view, std::string_view> kTriangulated{
    "%8s triangul\xe9 de %8s et %s"};
// "%8s excentré de %8s et %s"
inline constexpr Text<std::string_view, std::string_view, std::string_view> kEccentric{
    "%8s excentr\xe9 de %8s et %s"};
// "%8s relevé sur %8s , %8s , et %8s"
inline constexpr Text<std::string_view, std::string_view, std::string_view, std::string_view>
    kResected{"%8s relev\xe9 sur %8s , %8s , et %8s"};
// "%8s trilatéré de %8s et %s contrôlé sur %8s"
inline constexpr Text<std::string_view, std::string_view, std::string_view, std::string_view>
    kTrilaterated{"%8s trilat\xe9r\xe9 de %8s et %s contr\xf4l\xe9 sur %8s"};
// "%8s nivellé de %8s"
inline constexpr Text<std::string_view, std::string_view> kLevelled{"%8s nivell\xe9 de %8s"};

// ---------------------------------------------------------------------------
// The data check: CSV headings (one entry per column).
// "rang"
inline constexpr Text<> kCsvRank{"rang"};
// "fichier"
inline constexpr Text<> kCsvFile{"fichier"};
// "ligne"
inline constexpr Text<> kCsvLine{"ligne"};
// "station"
inline constexpr Text<> kCsvStation{"station"};
// "visée"
inline constexpr Text<> kCsvTarget{
    "vis\xe9"
    "e"};
// "nature"
inline constexpr Text<> kCsvKind{"nature"};
// "code"
inline constexpr Text<> kCsvCode{"code"};
// "observé"
inline constexpr Text<> kCsvObserved{"observ\xe9"};
// "calculé"
inline constexpr Text<> kCsvComputed{"calcul\xe9"};
// "écart"
inline constexpr Text<> kCsvResidual{
    "\xe9"
    "cart"};
// "écart long."
inline constexpr Text<> kCsvTransverse{
    "\xe9"
    "cart long."};
// "tolérance"
inline constexpr Text<> kCsvTolerance{"tol\xe9rance"};
// "normé"
inline constexpr Text<> kCsvNormalised{"norm\xe9"};
// "normé sans elle"
inline constexpr Text<> kCsvNormalisedWithout{"norm\xe9 sans elle"};
// "verdict"
inline constexpr Text<> kCsvVerdict{"verdict"};
// "remarque"
inline constexpr Text<> kCsvNote{"remarque"};
// "unité d'angle"
inline constexpr Text<> kCsvAngleUnit{"unit\xe9 d'angle"};
// "point"
inline constexpr Text<> kCsvPoint{"point"};
// "contrôles plan"
inline constexpr Text<> kCsvPlanChecks{"contr\xf4les plan"};
// "contrôles altitude"
inline constexpr Text<> kCsvHeightChecks{"contr\xf4les altitude"};
// "max normé"
inline constexpr Text<> kCsvMaxNormalised{"max norm\xe9"};
// "placement"
inline constexpr Text<> kCsvPlacement{"placement"};
// "à revoir"
inline constexpr Text<> kCsvToReview{"\xe0 revoir"};

// ---------------------------------------------------------------------------
// The data check: the text report's headings.
// "Contrôle des observations"
inline constexpr Text<> kCheckTitle{"Contr\xf4le des observations"};
// "Angles en %s, longueurs dans l'unité des coordonnées ; écart = observé - calculé ;" (the angle
// unit)
inline constexpr Text<std::string_view> kCheckUnits{
    "Angles en %s, longueurs dans l'unit\xe9 des coordonn\xe9"
    "es ; \xe9"
    "cart = observ\xe9 - calcul\xe9 ;"};
// "écart normé = |écart| / tolérance, suspect au-delà de 1."
inline constexpr Text<> kCheckNormalised{
    "\xe9"
    "cart norm\xe9 = |\xe9"
    "cart| / tol\xe9rance, suspect au-del\xe0 de 1."};
// "Observations : %d, calculables : %d, suspectes : %d"
inline constexpr Text<int, int, int> kCheckObservationCounts{
    "Observations : %d, calculables : %d, suspectes : %d"};
// "Points suspects : %d, points non contrôlés : %d"
inline constexpr Text<int, int> kCheckPointCounts{
    "Points suspects : %d, points non contr\xf4l\xe9s : %d"};
// "Observations, les plus grands écarts d'abord"
inline constexpr Text<> kCheckRankingTitle{
    "Observations, les plus grands \xe9"
    "carts d'abord"};

// ---------------------------------------------------------------------------
// Files: failures and notices of reading and writing (the name, then the system's error).
// "erreur système %d : " (a rarer system error: its number, then the system's text)
inline constexpr Text<int> kSystemError{"erreur syst\xe8me %d : "};
// "Impossible de créer le fichier %s%s"
inline constexpr Text<std::string_view, std::string_view> kCannotCreateFile{
    "Impossible de cr\xe9"
    "er le fichier %s%s"};
// "Erreur d'écriture dans le fichier %s%s"
inline constexpr Text<std::string_view, std::string_view> kFileWriteError{
    "Erreur d'\xe9"
    "criture dans le fichier %s%s"};
// "Impossible d'ouvrir le fichier %s%s"
inline constexpr Text<std::string_view, std::string_view> kCannotOpenForReading{
    "Impossible d'ouvrir le fichier %s%s"};
// "Le fichier %s n'est pas un fichier ordinaire (périphérique, tube ou socket) : il n'est pas lu"
inline constexpr Text<std::string_view> kNotRegularFileNotRead{
    "Le fichier %s n'est pas un fichier ordinaire (p\xe9riph\xe9rique, tube ou socket) : il n'est "
    "pas lu"};
// "Le fichier %s dépasse %d Mo : ce n'est pas un fichier de levé, il n'est pas lu"
inline constexpr Text<std::string_view, int> kFileTooLarge{
    "Le fichier %s d\xe9passe %d Mo : ce n'est pas un fichier de lev\xe9, il n'est pas lu"};
// "Erreur de lecture du fichier %s%s"
inline constexpr Text<std::string_view, std::string_view> kFileReadError{
    "Erreur de lecture du fichier %s%s"};
// "Le fichier %s contient un octet nul ligne %d : ce n'est pas un fichier texte (fichier binaire,
// ou UTF-16 sans marque d'ordre des octets), il n'est pas lu"
inline constexpr Text<std::string_view, int> kFileNotText{
    "Le fichier %s contient un octet nul ligne %d : ce n'est pas un fichier texte (fichier "
    "binaire, ou UTF-16 sans marque d'ordre des octets), il n'est pas lu"};
// "Le fichier %s est en %s (il commence par une marque d'ordre des octets) : il est lu converti en
// Windows-1252"
inline constexpr Text<std::string_view, std::string_view> kFileEncodingNotice{
    "Le fichier %s est en %s (il commence par une marque d'ordre des octets) : il est lu converti "
    "en Windows-1252"};
// "Le fichier %s contient %zu caractère(s) sans équivalent en Windows-1252 : chacun est lu comme «
// ? »"
inline constexpr Text<std::string_view, std::size_t> kFileUnconvertibleNotice{
    "Le fichier %s contient %zu caract\xe8re(s) sans \xe9quivalent en Windows-1252 : chacun est lu "
    "comme \xab ? \xbb"};
// "Le fichier %s a des fins de ligne CR seules (ancien format Macintosh) : chaque CR y termine une
// ligne"
inline constexpr Text<std::string_view> kFileCrOnlyNotice{
    "Le fichier %s a des fins de ligne CR seules (ancien format Macintosh) : chaque CR y termine "
    "une ligne"};
// " ; le fichier %s reste inchangé" (after a failure of a replacing write)
inline constexpr Text<std::string_view> kFileLeftUnchanged{" ; le fichier %s reste inchang\xe9"};
// "Impossible de remplacer le fichier %s%s ; il reste inchangé"
inline constexpr Text<std::string_view, std::string_view> kCannotReplaceFile{
    "Impossible de remplacer le fichier %s%s ; il reste inchang\xe9"};
// "Nombre maximum de points atteint : %d" (the point table is full when an observation names a new
// point: the count asked for)
inline constexpr Text<int> kPointLimitCount{"Nombre maximum de points atteint : %d"};

// ---------------------------------------------------------------------------
// The actions and the work site (message boxes and failure reports).
// "Le fichier %s n'est pas un fichier ordinaire (périphérique, tube ou socket) : il ne peut pas
// être lu" (message box of the load action)
inline constexpr Text<std::string_view> kNotRegularFileCannotBeRead{
    "Le fichier %s n'est pas un fichier ordinaire (p\xe9riph\xe9rique, tube ou socket) : il ne "
    "peut pas \xeatre lu"};
// "Le fichier %s n'est pas écrit : %s. Un fichier de résultats antérieur est gardé tel quel ;
// corrigez la cause de l'erreur, puis refaites « Initialisation » et le calcul." ("Quitter" after a
// failed action: the .new file's name, then kLoadInterrupted or kRunInterrupted)
inline constexpr Text<std::string_view, std::string_view> kResultsKept{
    "Le fichier %s n'est pas \xe9"
    "crit : %s. Un fichier de r\xe9sultats ant\xe9rieur est gard\xe9 tel quel ; corrigez la cause "
    "de l'erreur, puis refaites \xab Initialisation \xbb et le calcul."};
// "l'initialisation a été interrompue par une erreur, les données lues sont incomplètes"
inline constexpr Text<> kLoadInterrupted{
    "l'initialisation a \xe9t\xe9 interrompue par une erreur, les donn\xe9"
    "es lues sont incompl\xe8tes"};
// "le calcul a été interrompu par une erreur, ses résultats sont incomplets"
inline constexpr Text<> kRunInterrupted{
    "le calcul a \xe9t\xe9 interrompu par une erreur, ses r\xe9sultats sont incomplets"};
// "Mémoire insuffisante : l'action est interrompue. Fermez d'autres programmes, ou vérifiez que les
// fichiers d'entrée sont bien ceux du chantier."
inline constexpr Text<> kOutOfMemory{
    "M\xe9moire insuffisante : l'action est interrompue. Fermez d'autres programmes, ou "
    "v\xe9rifiez que les fichiers d'entr\xe9"
    "e sont bien ceux du chantier."};
// "Erreur interne du programme : l'action est interrompue. Les fichiers de résultats antérieurs
// sont gardés ; signalez ce problème avec les fichiers d'entrée." (any other exception)
inline constexpr Text<> kInternalError{
    "Erreur interne du programme : l'action est interrompue. Les fichiers de r\xe9sultats "
    "ant\xe9rieurs sont gard\xe9s ; signalez ce probl\xe8me avec les fichiers d'entr\xe9"
    "e."};
// "Point inconnu : %s" (a start point the tables do not hold)
inline constexpr Text<std::string_view> kUnknownPoint{"Point inconnu : %s"};
// "Unité angulaire %d inconnue (1 grades, 2 degrés sexagésimaux, 3 degrés décimaux) : les angles
// des observations seront pris en radians"
inline constexpr Text<int> kUnknownAngleUnit{
    "Unit\xe9 angulaire %d inconnue (1 grades, 2 degr\xe9s sexag\xe9simaux, 3 degr\xe9s d\xe9"
    "cimaux) : les angles des observations seront pris en radians"};
// "Nombre de chiffres significatifs %d hors de 0 à 10 : le fichier .new en aura %d"
inline constexpr Text<int, int> kDigitsOutOfRange{
    "Nombre de chiffres significatifs %d hors de 0 \xe0 10 : le fichier .new en aura %d"};
// "Aucun fichier de chantier n'est choisi : créez ou ouvrez un chantier (menu Chantier) avant
// l'initialisation"
inline constexpr Text<> kNoWorkSite{
    "Aucun fichier de chantier n'est choisi : cr\xe9"
    "ez ou ouvrez un chantier (menu Chantier) avant l'initialisation"};
// "Le nom de fichier « %s » contient une fin de ligne ou un octet nul : le chantier ne peut pas
// l'enregistrer" (the name is echoed whole, its NUL byte too)
inline constexpr Text<std::string_view> kBadFileName{
    "Le nom de fichier \xab %s \xbb contient une fin de ligne ou un octet nul : le chantier ne "
    "peut pas l'enregistrer"};
// "Paramètre non numérique : impossible d'écrire le fichier de chantier %s"
inline constexpr Text<std::string_view> kParameterNotNumeric{
    "Param\xe8tre non num\xe9rique : impossible d'\xe9"
    "crire le fichier de chantier %s"};
// "Calculs topo approchés"
inline constexpr Text<> kApplicationTitle{"Calculs topo approch\xe9s"};
// "Calcul topographique approché"
inline constexpr Text<> kMainWindowCaption{"Calcul topographique approch\xe9"};

// ---------------------------------------------------------------------------
// The closing block of the listing.
// "List of points which can't be calculated" (the closing block's heading, English line)
inline constexpr Text<> kPointsLeftHeading{"List of points which can't be calculated"};
// "  Liste des points non calculables :" (its French line, two leading blanks)
inline constexpr Text<> kPointsLeftHeadingFrench{"  Liste des points non calculables :"};
// "All the points are calculated / Tous les points sont calculés" (written in both languages)
inline constexpr Text<> kAllPointsComputed{
    "All the points are calculated / Tous les points sont calcul\xe9s"};

// ---------------------------------------------------------------------------
// The extended determination (pane lines).
// "Calcul étendu" (the stage's title, before its first line)
inline constexpr Text<> kExtendedTitle{"Calcul \xe9tendu"};
// "Calcul étendu : aucun point de plus"
inline constexpr Text<> kExtendedNothingMore{"Calcul \xe9tendu : aucun point de plus"};
// "Cheminement de %8s à %8s : %d stations, longueur %s, %s, %s" (its two ends, stations, length,
// then the two closures)
inline constexpr Text<std::string_view, std::string_view, int, std::string_view, std::string_view,
                      std::string_view>
    kTraverse{"Cheminement de %8s \xe0 %8s : %d stations, longueur %s, %s, %s"};
// "Bloc local %d (%d points autour de %8s) non calculable : %s" (number, points, seed, reason)
inline constexpr Text<int, int, std::string_view, std::string_view> kBlockRefused{
    "Bloc local %d (%d points autour de %8s) non calculable : %s"};
// "%8s placé par le bloc local %d recalé sur %8s et %s"
inline constexpr Text<std::string_view, int, std::string_view, std::string_view> kPlacedByBlock{
    "%8s plac\xe9 par le bloc local %d recal\xe9 sur %8s et %s"};
// " et %d autres" (after the common points named)
inline constexpr Text<int> kAndOthers{" et %d autres"};
// "Bloc local %d : %d points placés, recalé sur %s ; échelle %s ; écart maximal %s"
inline constexpr Text<int, int, std::string_view, std::string_view, std::string_view>
    kBlockAccepted{
        "Bloc local %d : %d points plac\xe9s, recal\xe9 sur %s ; \xe9"
        "chelle %s ; \xe9"
        "cart maximal %s"};

// ---------------------------------------------------------------------------
// The data check: the text report's table headings, labels and placements.
// " rang fichier          ligne  station     visée nature                    observé calculé écart
// écart long.   normé  verdict       remarque" (the column headings of the observations)
inline constexpr Text<> kCheckObservationHeadings{
    " rang fichier          ligne  station     vis\xe9"
    "e nature                    observ\xe9         calcul\xe9        \xe9"
    "cart  \xe9"
    "cart long.   norm\xe9  verdict       remarque"};
// "Points"
inline constexpr Text<> kCheckPointsTitle{"Points"};
// "   point  contrôles plan  altitude   max normé  verdict       placement ; explication"
inline constexpr Text<> kCheckPointHeadings{
    "   point  contr\xf4les plan  altitude   max norm\xe9  verdict       placement ; explication"};
// "désignée, normé sans elle %s" (the note of an observation the deletion test points at)
inline constexpr Text<std::string_view> kCheckDeletedNormalised{
    "d\xe9sign\xe9"
    "e, norm\xe9 sans elle %s"};
// " ; à revoir : %s" (after a suspect point's placement: its culprit)
inline constexpr Text<std::string_view> kCheckToReview{" ; \xe0 revoir : %s"};
// "%s ligne %d %s de %s vers %s" (file, line, kind, station, target)
inline constexpr Text<std::string_view, int, std::string_view, std::string_view, std::string_view>
    kCheckObservationLabel{"%s ligne %d %s de %s vers %s"};
// "Tolérances : directions et gisements 5 mgon + %s / distance ; distances %s + %s ppm ; dénivelées
// %s ; zénithales 5 mgon + %s / distance ; centrages %s" (the tolerances, each in the unit of the
// coordinates)
inline constexpr Text<std::string_view, std::string_view, std::string_view, std::string_view,
                      std::string_view, std::string_view>
    kCheckToleranceSummary{
        "Tol\xe9rances : directions et gisements 5 mgon + %s / distance ; distances %s + %s ppm ; "
        "d\xe9nivel\xe9"
        "es %s ; z\xe9nithales 5 mgon + %s / distance ; centrages %s"};
// "donné"
inline constexpr Text<> kPlacementGiven{"donn\xe9"};
// "non calculé"
inline constexpr Text<> kPlacementNone{"non calcul\xe9"};
// "placé" (a plan placed by no method of the table)
inline constexpr Text<> kPlacementPlaced{"plac\xe9"};
// "plan non calculé"
inline constexpr Text<> kPlacementNoPlan{"plan non calcul\xe9"};
// ", altitude non calculée"
inline constexpr Text<> kPlacementNoHeight{
    ", altitude non calcul\xe9"
    "e"};
// "ses coordonnées"
inline constexpr Text<> kCulpritCoordinates{
    "ses coordonn\xe9"
    "es"};
// " (%s ligne %d)" (the file and line of the point's coordinates)
inline constexpr Text<std::string_view, int> kCulpritCoordinatesLine{" (%s ligne %d)"};
// " (ou l'une des %d autres : rien ne les départage)"
inline constexpr Text<int> kCulpritAlternatives{
    " (ou l'une des %d autres : rien ne les d\xe9partage)"};
// " ; n'explique pas tout"
inline constexpr Text<> kCulpritPartial{" ; n'explique pas tout"};

// ---------------------------------------------------------------------------
// The data check: why a check is not computed, notes, kinds, verdicts, methods.
// "visée d'un point sur lui-même"
inline constexpr Text<> kCheckSelfSight{
    "vis\xe9"
    "e d'un point sur lui-m\xeame"};
// "point non calculé"
inline constexpr Text<> kCheckPointNotComputed{"point non calcul\xe9"};
// "altitude non calculée"
inline constexpr Text<> kCheckHeightNotComputed{
    "altitude non calcul\xe9"
    "e"};
// "zénithale verticale"
inline constexpr Text<> kCheckZenithVertical{"z\xe9nithale verticale"};
// "sans zénithale, altitude non calculée"
inline constexpr Text<> kCheckNoZenith{
    "sans z\xe9nithale, altitude non calcul\xe9"
    "e"};
// "comparée en 3D"
inline constexpr Text<> kCheckCompared3D{
    "compar\xe9"
    "e en 3D"};
// "points confondus"
inline constexpr Text<> kCheckCoincident{"points confondus"};
// "lecture hors tour"
inline constexpr Text<> kCheckOutsideRound{"lecture hors tour"};
// "seule visée du tour vers un point calculé : ne contrôle rien"
inline constexpr Text<> kCheckLoneSight{
    "seule vis\xe9"
    "e du tour vers un point calcul\xe9 : ne contr\xf4le rien"};
// "distance horizontale"
inline constexpr Text<> kKindHorizontalDistance{"distance horizontale"};
// "distance inclinée"
inline constexpr Text<> kKindSlopeDistance{
    "distance inclin\xe9"
    "e"};
// "centrage"
inline constexpr Text<> kKindCentring{"centrage"};
// "direction"
inline constexpr Text<> kKindDirection{"direction"};
// "zénithale"
inline constexpr Text<> kKindZenith{"z\xe9nithale"};
// "dénivelée"
inline constexpr Text<> kKindHeightDifference{
    "d\xe9nivel\xe9"
    "e"};
// "gisement"
inline constexpr Text<> kKindBearing{"gisement"};
// "contrôlé"
inline constexpr Text<> kVerdictChecked{"contr\xf4l\xe9"};
// "non contrôlé"
inline constexpr Text<> kVerdictUnchecked{"non contr\xf4l\xe9"};
// "suspect"
inline constexpr Text<> kVerdictSuspect{"suspect"};
// "rayonné"
inline constexpr Text<> kMethodRadiated{"rayonn\xe9"};
// "nivellé"
inline constexpr Text<> kMethodLevelled{"nivell\xe9"};
// "intersecté"
inline constexpr Text<> kMethodIntersected{"intersect\xe9"};
// "triangulé ou excentré"
inline constexpr Text<> kMethodTriangulatedOrEccentric{"triangul\xe9 ou excentr\xe9"};
// "relevé"
inline constexpr Text<> kMethodResected{"relev\xe9"};
// "trilatéré"
inline constexpr Text<> kMethodTrilaterated{"trilat\xe9r\xe9"};
// "placé par bloc local"
inline constexpr Text<> kMethodExtended{"plac\xe9 par bloc local"};
// "°" (the angle unit of decimal degrees)
inline constexpr Text<> kUnitDegreeSign{"\xb0"};
// "réduite par la zénithale %d" (the line of the zenith angle that reduced a distance)
inline constexpr Text<int> kCheckReducedByZenith{
    "r\xe9"
    "duite par la z\xe9nithale %d"};

// ---------------------------------------------------------------------------
// The sketch: point statuses and the check's verdicts on it.
// "point donné"
inline constexpr Text<> kSketchGiven{"point donn\xe9"};
// "point calculé"
inline constexpr Text<> kSketchComputed{"point calcul\xe9"};
// "plan seul"
inline constexpr Text<> kSketchPlanOnly{"plan seul"};
// "altitude seule"
inline constexpr Text<> kSketchHeightOnly{"altitude seule"};
// "non placé"
inline constexpr Text<> kSketchNotPlaced{"non plac\xe9"};
// "écart %s (%s × la tolérance)" (the residual, then the normalised residual)
inline constexpr Text<std::string_view, std::string_view> kSketchFigures{
    "\xe9"
    "cart %s (%s \xd7 la tol\xe9rance)"};
// "à revoir : ses coordonnées"
inline constexpr Text<> kSketchCulpritCoordinates{
    "\xe0 revoir : ses coordonn\xe9"
    "es"};
// "observations en désaccord" (a suspect point whose culprit is not found)
inline constexpr Text<> kSketchDisagreeing{"observations en d\xe9saccord"};
// "à revoir : %s %s -> %s" (kind, station, target)
inline constexpr Text<std::string_view, std::string_view, std::string_view> kSketchCulprit{
    "\xe0 revoir : %s %s -> %s"};
// "écart normé %s"
inline constexpr Text<std::string_view> kSketchNormalised{
    "\xe9"
    "cart norm\xe9 %s"};

// ---------------------------------------------------------------------------
// The batch command: its usage errors (shown in UTF-8 with Utf8TextOf, the arguments as typed).
// "l'option --etendu est donnée deux fois"
inline constexpr Text<> kBatchExtendedTwice{
    "l'option --etendu est donn\xe9"
    "e deux fois"};
// "l'option --etendu ne prend pas de valeur"
inline constexpr Text<> kBatchExtendedTakesNoValue{"l'option --etendu ne prend pas de valeur"};
// "argument inattendu : %s"
inline constexpr Text<std::string_view> kBatchUnexpectedArgument{"argument inattendu : %s"};
// "option inconnue : %s"
inline constexpr Text<std::string_view> kBatchUnknownOption{"option inconnue : %s"};
// "l'option %s demande une valeur"
inline constexpr Text<std::string_view> kBatchOptionNeedsValue{"l'option %s demande une valeur"};
// "--unite vaut 1 (grades), 2 (degrés sexagésimaux) ou 3 (degrés décimaux), pas « %s »"
inline constexpr Text<std::string_view> kBatchBadUnit{
    "--unite vaut 1 (grades), 2 (degr\xe9s sexag\xe9simaux) ou 3 (degr\xe9s d\xe9"
    "cimaux), pas \xab %s \xbb"};
// "--chiffres est un entier de 0 à 10, pas « %s »"
inline constexpr Text<std::string_view> kBatchBadDigits{
    "--chiffres est un entier de 0 \xe0 10, pas \xab %s \xbb"};
// "--couleur vaut auto, toujours ou jamais, pas « %s »"
inline constexpr Text<std::string_view> kBatchBadColour{
    "--couleur vaut auto, toujours ou jamais, pas \xab %s \xbb"};
// "l'option %s est donnée deux fois"
inline constexpr Text<std::string_view> kBatchOptionTwice{
    "l'option %s est donn\xe9"
    "e deux fois"};
// "il faut au moins un point de départ (--depart NOM)"
inline constexpr Text<> kBatchNoStartPoint{"il faut au moins un point de d\xe9part (--depart NOM)"};

// The batch command's usage (--help, and after a usage error).
inline constexpr Text<> kBatchUsage{
    "Usage : calctopo-batch [--chantier F.bvk] [--coordonnees F] [--observations F]\n"
    "                       [--sortie F] [--unite 1|2|3] [--chiffres N]\n"
    "                       [--couleur auto|toujours|jamais] [--controle F]\n"
    "                       [--croquis F.svg]\n"
    "                       [--etendu]\n"
    "                       --depart NOM [--depart NOM]...\n"
    "\n"
    "  --chantier F.bvk    ouvre le chantier (il est r\xe9\xe9"
    "crit par l'initialisation)\n"
    "  --coordonnees F     fichier des points connus (.cor)\n"
    "  --observations F    fichier des observations (.obs)\n"
    "  --sortie F          listing (.vek ajout\xe9 sans extension) ; r\xe9sultats en .new\n"
    "  --unite 1|2|3       grades, degr\xe9s sexag\xe9simaux, degr\xe9s d\xe9"
    "cimaux\n"
    "  --chiffres N        chiffres significatifs du fichier .new (0 \xe0 10)\n"
    "  --couleur MODE      couleurs du journal : auto, toujours, jamais\n"
    "  --croquis F.svg     croquis du r\xe9seau (SVG) apr\xe8s le dernier point de d\xe9part\n"
    "  --depart NOM        point de d\xe9part, choisi dans l'ordre donn\xe9 (r\xe9p\xe9table)\n"
    "  --controle F        contr\xf4le des observations apr\xe8s le dernier d\xe9part :\n"
    "                      texte, ou CSV (s\xe9parateur ;) si F finit par .csv\n"
    "  --etendu            calcul \xe9tendu apr\xe8s chaque calcul (blocs locaux recal\xe9s)\n"
    "  --version           affiche la version du programme\n"
    "\n"
    "Statut : 0 termin\xe9, 1 fichier absent ou \xe9"
    "chec, 2 mauvais usage,\n"
    "         3 limite d'une table atteinte.\n"};

// ---------------------------------------------------------------------------
// The extended determination: why a block is refused, and the parts of its lines.
// "points communs distants de %s seulement"
inline constexpr Text<std::string_view> kFitBaseTooShort{"points communs distants de %s seulement"};
// "points communs confondus dans le repère local"
inline constexpr Text<> kFitCoincident{"points communs confondus dans le rep\xe8re local"};
// "échelle des distances écartée de %s ppm, au-delà de %s ppm"
inline constexpr Text<std::string_view, std::string_view> kFitScaleOff{
    "\xe9"
    "chelle des distances \xe9"
    "cart\xe9"
    "e de %s ppm, au-del\xe0 de %s ppm"};
// "écart de %s sur %s, au-delà de la tolérance de %s"
inline constexpr Text<std::string_view, std::string_view, std::string_view> kFitMisfit{
    "\xe9"
    "cart de %s sur %s, au-del\xe0 de la tol\xe9rance de %s"};
// "orientation écartée de %s sur %s, au-delà de %s"
inline constexpr Text<std::string_view, std::string_view, std::string_view> kFitTurn{
    "orientation \xe9"
    "cart\xe9"
    "e de %s sur %s, au-del\xe0 de %s"};
// "aucun point connu ne lui est relié"
inline constexpr Text<> kBlockNoRing{"aucun point connu ne lui est reli\xe9"};
// "aucun point connu n'est atteint dans son repère local"
inline constexpr Text<> kBlockNoCommonPoint{
    "aucun point connu n'est atteint dans son rep\xe8re local"};
// "un seul point commun (%s) pour une figure construite par les angles seuls"
inline constexpr Text<std::string_view> kBlockOneCommonAnglesOnly{
    "un seul point commun (%s) pour une figure construite par les angles seuls"};
// "un seul point commun (%s) et aucune orientation commune"
inline constexpr Text<std::string_view> kBlockOneCommonUnoriented{
    "un seul point commun (%s) et aucune orientation commune"};
// "l'orientation du tour de %s"
inline constexpr Text<std::string_view> kReferenceRound{"l'orientation du tour de %s"};
// "le gisement de %s"
inline constexpr Text<std::string_view> kReferenceBearing{"le gisement de %s"};
// " et %s" (the second reference after one common point)
inline constexpr Text<std::string_view> kAndReference{" et %s"};
// "libre (angles seuls)"
inline constexpr Text<> kScaleFree{"libre (angles seuls)"};
// "1 (écart %s ppm)"
inline constexpr Text<std::string_view> kScaleUnit{
    "1 (\xe9"
    "cart %s ppm)"};
// "%s sur %s (tolérance %s)"
inline constexpr Text<std::string_view, std::string_view, std::string_view> kMisfitOn{
    "%s sur %s (tol\xe9rance %s)"};
// "non contrôlé (aucune mesure surabondante)"
inline constexpr Text<> kMisfitUnchecked{"non contr\xf4l\xe9 (aucune mesure surabondante)"};
// "non contrôlé en position"
inline constexpr Text<> kMisfitPositionUnchecked{"non contr\xf4l\xe9 en position"};
// " ; orientation à %s près"
inline constexpr Text<std::string_view> kOrientationWithin{" ; orientation \xe0 %s pr\xe8s"};
// "fermeture linéaire %s (%s ppm)"
inline constexpr Text<std::string_view, std::string_view> kLinearClosure{
    "fermeture lin\xe9"
    "aire %s (%s ppm)"};
// "fermeture angulaire %s"
inline constexpr Text<std::string_view> kAngularClosure{"fermeture angulaire %s"};
// "fermeture angulaire non mesurable (extrémités non orientées)"
inline constexpr Text<> kAngularClosureNone{
    "fermeture angulaire non mesurable (extr\xe9mit\xe9s non orient\xe9"
    "es)"};
// " °" (after an angle in decimal degrees)
inline constexpr Text<> kDegreeUnitSuffix{" \xb0"};

}  // namespace texts

}  // namespace calctopo
