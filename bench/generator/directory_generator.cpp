#include "directory_generator.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <vector>

namespace dirgen {

namespace {

// Bytes are Windows-1252: \xC0 À, \xC8 È, \xCC Ì, \xD2 Ò, \xD9 Ù.
constexpr std::array kSurnames = {
    "ROSSI",    "BIANCHI",   "VERDI",   "RUSSO",     "FERRARI",    "ESPOSITO",   "ROMANO",
    "COLOMBO",  "RICCI",     "MARINO",  "GRECO",     "BRUNO",      "GALLO",      "CONTI",
    "DE LUCA",  "MANCINI",   "COSTA",   "GIORDANO",  "RIZZO",      "LOMBARDI",   "MORETTI",
    "BARBIERI", "FONTANA",   "SANTORO", "MARIANI",   "RINALDI",    "CARUSO",     "FERRARA",
    "GALLI",    "MARTINI",   "LEONE",   "LONGO",     "GENTILE",    "MARTINELLI", "VITALE",
    "LOMBARDO", "SERRA",     "COPPOLA", "DE SANTIS", "D'ANGELO",   "MARCHETTI",  "PARISI",
    "VILLA",    "CONTE",     "FERRARO", "FERRI",     "FABBRI",     "BIANCO",     "MARINI",
    "GRASSO",   "VALENTINI", "MESSINA", "SALA",      "DE ANGELIS", "GATTI",      "PELLEGRINI",
    "PALUMBO",  "SANNA",     "FARINA",  "NICOL\xD2",
};
constexpr std::array kFirstNames = {
    "MARIO",     "LUCA",    "GIUSEPPE", "ANNA",      "GIULIA",     "FRANCESCO",  "CHIARA",
    "MARCO",     "SARA",    "ANDREA",   "PAOLA",     "ALESSANDRO", "ELENA",      "MATTEO",
    "FRANCESCA", "LORENZO", "SILVIA",   "DAVIDE",    "MARTINA",    "NICCOL\xD2", "FEDERICA",
    "STEFANO",   "LAURA",   "ROBERTO",  "VALENTINA", "SIMONE",     "ROBERTA",    "GABRIELE",
};
constexpr std::array kTrades = {
    "COSTRUZIONI", "IMPIANTI",       "TRASPORTI",  "INFORMATICA",  "ARREDAMENTI",
    "ALIMENTARI",  "METALMECCANICA", "SERRAMENTI", "ELETTRONICA",  "CONSULENZE",
    "TESSUTI",     "LOGISTICA",      "EDILIZIA",   "AUTOMAZIONE",  "CERAMICHE",
    "VINI",        "STAMPI",         "IDRAULICA",  "FARMACEUTICA", "ENERGIA",
};
constexpr std::array kForms = {"SRL", "SPA", "SNC", "SAS", "& FIGLI SRL"};
constexpr std::array kDepartments = {
    "AMMINISTRAZIONE",    "UFFICIO TECNICO", "COMMERCIALE", "MAGAZZINO",  "PRODUZIONE",
    "ACQUISTI",           "SEGRETERIA",      "DIREZIONE",   "QUALIT\xC0", "RICERCA & SVILUPPO",
    "ASSISTENZA CLIENTI", "SPEDIZIONI",      "PERSONALE",   "CENTRALINO",
};
struct Town {
    const char *name;
    const char *province;
    const char *prefix;
};
constexpr std::array kTowns = {
    Town{"TORINO", "TO", "011"},  Town{"MILANO", "MI", "02"},     Town{"ROMA", "RM", "06"},
    Town{"NAPOLI", "NA", "081"},  Town{"BOLOGNA", "BO", "051"},   Town{"FIRENZE", "FI", "055"},
    Town{"GENOVA", "GE", "010"},  Town{"VENEZIA", "VE", "041"},   Town{"BARI", "BA", "080"},
    Town{"PALERMO", "PA", "091"}, Town{"FORL\xCC", "FC", "0543"}, Town{"CANT\xD9", "CO", "031"},
    Town{"BERGAMO", "BG", "035"}, Town{"BRESCIA", "BS", "030"},   Town{"VERONA", "VR", "045"},
    Town{"PADOVA", "PD", "049"},  Town{"CAGLIARI", "CA", "070"},  Town{"PERUGIA", "PG", "075"},
    Town{"ANCONA", "AN", "071"},  Town{"TRENTO", "TN", "0461"},   Town{"LECCE", "LE", "0832"},
    Town{"SASSARI", "SS", "079"}, Town{"MODENA", "MO", "059"},    Town{"PARMA", "PR", "0521"},
};
constexpr std::array kMorning = {"08:00", "08:30", "09:00"};
constexpr std::array kMorningEnd = {"12:00", "12:30", "13:00"};
constexpr std::array kAfternoon = {"14:00", "14:30", "15:00"};
constexpr std::array kAfternoonEnd = {"17:30", "18:00", "18:30", "19:00"};

class Random {
public:
    explicit Random(std::uint64_t seed)
        : state_(seed * 0x9E3779B97F4A7C15ull + 1)
    {}
    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(next() % n); }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template <typename A> auto pick(const A &items) { return items[below(items.size())]; }

private:
    std::uint64_t state_;
};

std::string digits(Random &r, int count)
{
    std::string s;
    for (int i = 0; i < count; ++i)
        s.push_back(static_cast<char>('0' + r.below(10)));
    return s;
}

std::string landline(Random &r, const Town &town)
{
    return std::string(town.prefix) + " " + digits(r, 2) + " " + digits(r, 2) + " " + digits(r, 2);
}

std::string mobile(Random &r)
{
    return "3" + digits(r, 2) + " " + digits(r, 3) + " " + digits(r, 2) + " " + digits(r, 2);
}

std::string lower(std::string s)
{
    for (char &c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        else if (c == ' ' || c == '&' || c == '\'')
            c = '.';
        else if (static_cast<unsigned char>(c) >= 0x80)
            c = 'o';
    }
    return s;
}

// One company: its name, town and departments; the people come one by one.
struct Company {
    std::string name;
    std::string domain;
    Town town;
    std::vector<const char *> departments;
};

Company makeCompany(Random &r)
{
    Company c;
    const std::string a = r.pick(kSurnames);
    const std::string trade = r.pick(kTrades);
    c.name = r.chance(40) ? a + " & " + r.pick(kSurnames) + " " + trade : a + " " + trade;
    c.name += " ";
    c.name += r.pick(kForms);
    c.domain = lower(a) + "-" + lower(trade) + ".it";
    c.town = r.pick(kTowns);
    const std::size_t count = 2 + r.below(3);
    while (c.departments.size() < count) {
        const char *d = r.pick(kDepartments);
        bool seen = false;
        for (const char *x : c.departments)
            seen |= std::string_view(x) == d;
        if (!seen)
            c.departments.push_back(d);
    }
    return c;
}

// The 17 values of one entry in file order.
std::array<std::string, 17> makeEntry(Random &r, const Company &c, const char *department,
                                      std::size_t serial)
{
    std::array<std::string, 17> v;
    const bool office = r.chance(12);
    const std::string surname = r.pick(kSurnames);
    const std::string first = r.pick(kFirstNames);
    v[0] = c.name;
    v[1] = department;
    v[2] = office ? std::string("UFFICIO ") + department : surname + " " + first;
    v[3] = r.chance(70) ? mobile(r) : "";
    v[4] = r.chance(15) ? mobile(r) : "";
    v[5] = landline(r, c.town);
    v[6] = r.chance(30) ? landline(r, c.town) : "";
    v[7] = r.chance(60) ? landline(r, c.town) : "";
    v[8] = r.chance(10) ? landline(r, c.town) : "";
    v[9] = c.town.name;
    v[10] = c.town.province;
    v[11] = r.chance(75) ? (office ? lower(department) : lower(first) + "." + lower(surname)) +
                               "@" + c.domain
                         : "";
    const bool hours = r.chance(80);
    v[12] = hours ? r.pick(kMorning) : "";
    v[13] = hours ? r.pick(kMorningEnd) : "";
    v[14] = hours ? r.pick(kAfternoon) : "";
    v[15] = hours ? r.pick(kAfternoonEnd) : "";
    // Keys are the local time of entry, "yymmddhhnnss", a few seconds apart.
    const std::size_t t = serial * 7;
    char key[16];
    std::snprintf(key, sizeof key, "%02u%02u%02u%02u%02u%02u", 20u + unsigned(t / 31104000 % 6),
                  1u + unsigned(t / 2592000 % 12), 1u + unsigned(t / 86400 % 28),
                  unsigned(t / 3600 % 24), unsigned(t / 60 % 60), unsigned(t % 60));
    v[16] = key;
    return v;
}

template <typename Sink> void generate(std::size_t entries, std::uint32_t seed, Sink &&sink)
{
    Random r(seed);
    std::size_t serial = 0;
    while (serial < entries) {
        const Company c = makeCompany(r);
        for (const char *department : c.departments) {
            const std::size_t people = 1 + r.below(3);
            for (std::size_t p = 0; p < people && serial < entries; ++p, ++serial)
                sink(makeEntry(r, c, department, serial));
        }
    }
}

}  // namespace

std::string GenerateDataFile(std::size_t entries, std::uint32_t seed)
{
    std::string out = "ditta\treparto\tnome\tcellulare1\tcellulare2\ttelefono1\ttelefono2\tfax1\t"
                      "fax2\tlocalita\tprovincia\te_mail\tam_daore\tam_aore\tpm_daore\tpm_aore\t"
                      "NumScad\r\n";
    out.reserve(entries * 160);
    generate(entries, seed, [&out](const std::array<std::string, 17> &v) {
        for (std::size_t k = 0; k < v.size(); ++k) {
            if (k)
                out.push_back('\t');
            out += v[k];
        }
        out += "\r\n";
    });
    return out;
}

void FillTable(kit::MemTable &table, std::size_t entries, std::uint32_t seed)
{
    table.reserve(table.recordCount() + entries);
    table.suspendNotifications();
    generate(entries, seed, [&table](const std::array<std::string, 17> &v) {
        std::array<std::string_view, 17> views;
        for (std::size_t k = 0; k < v.size(); ++k)
            views[k] = v[k];
        table.appendStored(views);
    });
    table.resumeNotifications();
}

}  // namespace dirgen
