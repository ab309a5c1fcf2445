#include "vocabulary.h"

namespace tarvik::archive_gen::sample::vocabulary {

namespace {

using W = std::u16string_view;

constexpr W kFirstNames[] = {
    u"Mario", u"Giuseppe", u"Luca", u"Francesca", u"Giulia", u"Alessandro", u"Chiara", u"Andrea",
    u"Paola", u"Nicolò", u"Roberta", u"Simone", u"Elena", u"Davide", u"Federica", u"Stefano",
    u"Anna", u"Marco", u"Lucia", u"Pietro", u"Sara", u"Matteo", u"Ilaria", u"Gianluca",
    u"Noemi", u"Raffaele", u"Lorenza", u"Fabrizio", u"Maria Grazia", u"Gian Maria"};

constexpr W kSurnames[] = {
    u"Rossi", u"Russo", u"Ferrari", u"Esposito", u"Bianchi", u"Romano", u"Colombo", u"Ricci",
    u"Marino", u"Greco", u"Bruno", u"Gallo", u"Conti", u"De Luca", u"Mancini", u"Costa",
    u"Giordano", u"Rizzo", u"Lombardi", u"Moretti", u"Barbieri", u"Fontana", u"Santoro",
    u"Mariani", u"Rinaldi", u"Caruso", u"Ferrara", u"Galli", u"Martini", u"Leone", u"Longo",
    u"Gentile", u"Martinelli", u"Vitale", u"Lombardo", u"Serra", u"Coppola", u"De Santis",
    u"D'Angelo", u"Marchetti", u"Parisi", u"Villa", u"Conte", u"Ferraro", u"Fabbri", u"Bianco",
    u"Marini", u"Grasso", u"Valentini", u"Messina", u"Sala", u"De Angelis", u"Gatti", u"Pellegrini",
    u"Palumbo", u"Sanna", u"Farina", u"Rizzi", u"Monti", u"Cattaneo", u"Morelli", u"Amato",
    u"Silvestri", u"Mazza", u"Testa", u"Grassi", u"Pellegrino", u"Carbone", u"Giuliani", u"Benedetti",
    u"Barone", u"Rossetti", u"Caputo", u"Montanari", u"Guerra", u"Palmieri", u"Bernardi", u"Martino",
    u"Fiore", u"De Rosa", u"Ferretti", u"Bellini", u"Basile", u"Riva", u"Donati", u"Piras",
    u"Vitali", u"Battaglia", u"Sartori", u"Neri", u"Costantini", u"Milani", u"Pagano", u"Ruggiero",
    u"Sorrentino", u"D'Amico", u"Orlando", u"Damico", u"Negri", u"Mattioli", u"Forlì", u"Sciarrà"};

constexpr W kTrades[] = {
    u"Ferramenta", u"Autotrasporti", u"Idraulica", u"Elettroforniture", u"Alimentari",
    u"Edilizia", u"Tipografia", u"Falegnameria", u"Carrozzeria", u"Ottica", u"Profumeria",
    u"Cartoleria", u"Caffè", u"Panificio", u"Macelleria", u"Enoteca", u"Pasticceria", u"Tessuti",
    u"Calzature", u"Arredamenti", u"Informatica", u"Ceramiche", u"Colorificio", u"Vivai",
    u"Officina meccanica", u"Studio tecnico", u"Lavanderia", u"Gelateria", u"Farmacia", u"Bar"};

constexpr W kCompanyForms[] = {u"S.r.l.", u"S.p.A.", u"S.n.c.", u"S.a.s.", u"di",
                               u"& C. S.n.c.", u"S.r.l.s.", u"Soc. Coop. a r.l."};

constexpr W kStreets[] = {
    u"Via Roma", u"Via Garibaldi", u"Corso Vittorio Emanuele II", u"Piazza del Popolo",
    u"Via Mazzini", u"Viale della Repubblica", u"Via Cavour", u"Via XX Settembre",
    u"Via Dante Alighieri", u"Largo Giosuè Carducci", u"Via San Martino", u"Via dell'Industria",
    u"Via Nazionale", u"Corso Italia", u"Via dei Mille", u"Via Niccolò Machiavelli",
    u"Via Papa Giovanni XXIII", u"Piazza Santa Maria", u"Via Ugo Foscolo", u"Strada Statale 16",
    u"Via Cristoforo Colombo", u"Via delle Fornaci", u"Vicolo Stretto", u"Via Sant'Antonio",
    u"Località Pian di Mugnone", u"Via per Cantù", u"Via Brennero", u"Viale Europa"};

constexpr Town kTowns[] = {
    {u"Milano", u"MI", u"20121"},          {u"Roma", u"RM", u"00184"},
    {u"Napoli", u"NA", u"80133"},          {u"Torino", u"TO", u"10121"},
    {u"Palermo", u"PA", u"90133"},         {u"Genova", u"GE", u"16121"},
    {u"Bologna", u"BO", u"40121"},         {u"Firenze", u"FI", u"50122"},
    {u"Bari", u"BA", u"70121"},            {u"Catania", u"CT", u"95121"},
    {u"Venezia", u"VE", u"30124"},         {u"Verona", u"VR", u"37121"},
    {u"Padova", u"PD", u"35122"},          {u"Trieste", u"TS", u"34121"},
    {u"Brescia", u"BS", u"25121"},         {u"Parma", u"PR", u"43121"},
    {u"Modena", u"MO", u"41121"},          {u"Reggio nell'Emilia", u"RE", u"42121"},
    {u"Perugia", u"PG", u"06121"},         {u"Ancona", u"AN", u"60121"},
    {u"Forlì", u"FC", u"47121"},           {u"Cantù", u"CO", u"22063"},
    {u"Aosta", u"AO", u"11100"},           {u"Bolzano", u"BZ", u"39100"},
    {u"Trento", u"TN", u"38122"},          {u"Cagliari", u"CA", u"09124"},
    {u"Lecce", u"LE", u"73100"},           {u"Pescara", u"PE", u"65121"},
    {u"Sant'Agata de' Goti", u"BN", u"82019"}, {u"Vibo Valentia", u"VV", u"89900"},
    {u"Cefalù", u"PA", u"90015"},          {u"Paternò", u"CT", u"95047"},
    {u"Città di Castello", u"PG", u"06012"}, {u"Canicattì", u"AG", u"92024"}};

constexpr Town kForeignTowns[] = {
    {u"Łódź", u"", u""},      {u"Győr", u"", u""},         {u"Αθήνα", u"", u""},
    {u"東京", u"", u""},      {u"Brno – Žabovřesky", u"", u""}, {u"București", u"", u""}};

constexpr W kForeignCompanies[] = {
    u"Wróbel i Łukasiewicz Sp. z o.o.", u"Kovács és Társa Kft. – Győr",
    u"Παπαδόπουλος Α.Ε.", u"東京貿易株式会社", u"Dvořák s.r.o.", u"Ionescu Șerban S.R.L."};

constexpr W kHardware[] = {
    u"Vite autofilettante 4x30 zincata", u"Tassello in nylon Ø 8 mm", u"Chiave a brugola 6 mm",
    u"Martello da carpentiere 500 g", u"Cacciavite a croce PH2", u"Nastro isolante nero 19 mm",
    u"Silicone sigillante trasparente", u"Guanti da lavoro in pelle", u"Lucchetto in ottone 40 mm",
    u"Serratura per porta blindata"};
constexpr W kElectrical[] = {
    u"Lampadina LED E27 10W luce calda", u"Cavo elettrico 3x1,5 mm²", u"Presa Schuko 16A",
    u"Interruttore bipolare 10A", u"Prolunga 5 m con avvolgicavo", u"Faretto da incasso GU10",
    u"Pila alcalina stilo AA (conf. 4 pz)", u"Multimetro digitale", u"Ciabatta 6 prese",
    u"Relè passo-passo 230V"};
constexpr W kFood[] = {
    u"Caffè in grani miscela arabica 1 kg", u"Pasta di semola di grano duro 500 g",
    u"Olio extravergine d'oliva 1 l", u"Parmigiano Reggiano 24 mesi", u"Aceto balsamico di Modena IGP",
    u"Passata di pomodoro 700 g", u"Tè verde in foglie 綠茶", u"Crème caramel 4 porzioni",
    u"Vino rosso Montepulciano d'Abruzzo", u"Acqua minerale naturale 1,5 l"};
constexpr W kStationery[] = {
    u"Risma carta A4 80 g/m²", u"Penna a sfera blu", u"Raccoglitore ad anelli dorso 8 cm",
    u"Evidenziatore giallo", u"Busta a sacco 23x33", u"Calcolatrice da tavolo 12 cifre",
    u"Agenda 2004 giornaliera", u"Toner per stampante laser", u"Etichette adesive 100 fogli",
    u"Cucitrice a pinza"};
constexpr W kServices[] = {
    u"Manodopera specializzata", u"Trasporto e consegna a domicilio", u"Installazione e collaudo",
    u"Sopralluogo tecnico", u"Assistenza annuale € 120", u"Noleggio attrezzatura giornaliero"};

constexpr Family kFamilies[] = {
    {u"FER", kHardware, u"pz"},   {u"ELE", kElectrical, u"pz"}, {u"ALI", kFood, u"kg"},
    {u"CAN", kStationery, u"conf"}, {u"SER", kServices, u"ore"}};

constexpr W kBanks[] = {
    u"Banca Intesa", u"UniCredit Banca", u"Banca Popolare di Milano", u"Monte dei Paschi di Siena",
    u"Banca Nazionale del Lavoro", u"Credito Emiliano", u"Banca Popolare di Verona",
    u"Cassa di Risparmio di Forlì", u"Banca Carige", u"Banco di Sardegna"};

constexpr W kCarriers[] = {
    u"Bartolini S.p.A.", u"SDA Express Courier", u"TNT Traco", u"Autotrasporti Fratelli Neri",
    u"Spedizioni Celeri S.r.l.", u"Poste Italiane – Paccocelere", u"Trasporti Gallo & Figli"};

constexpr W kSentences[] = {
    u"Consegna solo al mattino, dalle 8 alle 12.",
    u"Il cliente preferisce essere contattato via fax.",
    u"Sconto concordato del 5% sugli ordini superiori a € 500.",
    u"Attenzione: merce fragile, imballare con cura.",
    u"Pagamento con ri.ba. a 60 giorni data fattura fine mese.",
    u"Già cliente dal 1998; referente sig.ra Bianchi (amministrazione).",
    u"Non accetta consegne il sabato. Portineria chiusa dalle 13 alle 14.",
    u"Verificare la partita IVA prima della prossima fattura.",
    u"Prezzi concordati validi fino al 31/12, poi listino +3%.",
    u"Ritiro merce a cura del cliente: avvisare il magazzino.",
    u"«Così com'è»: è così che la descrive, perché è più semplice.",
    u"Contributo CONAI assolto ove dovuto. Totale arrotondato all'euro (€).",
    u"Là dove c'è l'erba non cresce più: città, università, qualità."};

constexpr W kShelves[] = {u"Scaffale A3", u"Scaffale B1", u"Magazzino esterno", u"Corsia 4",
                          u"Soppalco", u"Vetrina", u"Banco frigo", u"Retro negozio", u"A-12",
                          u"Cella 2/B"};
constexpr W kDepartments[] = {u"1", u"2", u"3", u"4", u"5", u"07", u"12", u"99", u"+5", u"3A",
                              u" 7", u".6"};
constexpr W kNonDepartments[] = {u"0", u"00", u"-1", u"A", u"100", u".5", u""};

constexpr W kTransportReasons[] = {u"Vendita", u"Conto visione", u"Reso", u"Riparazione",
                                   u"Omaggio", u"Conto lavorazione", u"Tentata vendita"};
constexpr W kGoodsAppearances[] = {u"Scatole", u"Pacchi", u"Bancali", u"Sfuso", u"Colli",
                                   u"Cartoni", u"Busta"};
constexpr W kProducers[] = {u"Bosch", u"Fratelli Branca", u"Barilla", u"Fila", u"Vimar",
                            u"Bticino", u"Lavazza", u"Pirelli", u"Beghelli", u"Würth"};
constexpr W kPaymentTerms[] = {
    u"Rimessa diretta", u"Contanti alla consegna", u"Bonifico bancario 30 gg d.f.",
    u"Ri.Ba. 30/60 gg f.m.", u"Ri.Ba. 60/90/120 gg f.m.", u"Bonifico 60 gg d.f.",
    u"Assegno circolare", u"Ri.Ba. 30 gg f.m.", u"Rimessa diretta 90 gg", u"Contrassegno",
    u"Bonifico anticipato", u"Ri.Ba. 30/60/90/120 gg"};
constexpr W kVatDescriptions[] = {u"Aliquota ordinaria 20%", u"Aliquota ridotta 10%",
                                  u"Aliquota minima 4%", u"Esente art. 10",
                                  u"Non imponibile art. 8", u"Fuori campo IVA art. 15",
                                  u"Aliquota 4,5% (pesca)"};
constexpr W kJournalCausals[] = {u"Fattura di vendita", u"Fattura di acquisto", u"Incasso",
                                 u"Pagamento", u"Nota di credito", u"Giroconto",
                                 u"Versamento in banca", u"Spese bancarie"};

}  // namespace

Words first_names() { return kFirstNames; }
Words surnames() { return kSurnames; }
Words trades() { return kTrades; }
Words company_forms() { return kCompanyForms; }
Words streets() { return kStreets; }
std::span<const Town> towns() { return kTowns; }
std::span<const Town> foreign_towns() { return kForeignTowns; }
Words foreign_companies() { return kForeignCompanies; }
std::span<const Family> families() { return kFamilies; }
Words banks() { return kBanks; }
Words carriers() { return kCarriers; }
Words sentences() { return kSentences; }
Words shelves() { return kShelves; }
Words departments() { return kDepartments; }
Words non_departments() { return kNonDepartments; }
Words transport_reasons() { return kTransportReasons; }
Words goods_appearances() { return kGoodsAppearances; }
Words producers() { return kProducers; }
Words payment_terms() { return kPaymentTerms; }
Words vat_descriptions() { return kVatDescriptions; }
Words journal_causals() { return kJournalCausals; }

}  // namespace tarvik::archive_gen::sample::vocabulary
