// libLinguo: interface texts translated through gettext binary catalogues (.mo).
//
// The exported interface holds no standard-library types, so callers built with another
// runtime can use it. Every object and text the library hands out stays valid until the
// process ends: nothing is ever released, because other threads may still hold it.
#pragma once

#if defined(LINGUO_BUILDING)
#define LINGUO_API __declspec(dllexport)
#else
#define LINGUO_API __declspec(dllimport)
#endif

// Language numbers of the shipped catalogues: 0 zh_CN, 1 zh_TW, 2 de_DE, 3 en_US, 4 fr_FR,
// 5 it_IT, 6 es_ES, 7 pt_PT, 8 ja_JP, 9 ko_KR, 10 ru_RU, 11 id_ID, 12 hi_IN, 13 tr_TR,
// 14 nl_NL. Other numbers are accepted; they simply need a catalogue registered for them.
class LINGUO_API wxLocale {
 public:
  // Registers the catalogue file of a language, relative to the folder later given to
  // Load (for example L"zh_CN\\strings.mo"). A later registration of the same number
  // replaces the earlier one. False for a null or empty path.
  virtual bool AddCatalog(int language, const wchar_t* relative_path) = 0;

  // Non-zero when the locale's language is written in a script outside Latin-1, so fonts
  // need DEFAULT_CHARSET: Chinese (0, 1), Japanese (8), Korean (9), Russian (10),
  // Hindi (12) and Turkish (13). Zero for every other number.
  virtual int IsDefaultCharsetLanguage() = 0;

  // Reads the catalogue registered for this locale's own language from
  // catalogue_folder + relative path (a separator is put between them when the folder
  // lacks one). False, with the previous state kept, when nothing is registered or the
  // file is missing, unreadable or damaged. Flags are reserved; pass 0.
  virtual bool Load(const wchar_t* catalogue_folder, unsigned flags) = 0;

  // The language number the locale was created for.
  virtual int Language() = 0;

 protected:
  // Locales live for the whole process; nobody may delete one.
  ~wxLocale() = default;
};

// Creates a locale for the language and makes it the current one. Earlier locales keep
// working and their texts stay valid. Null only when memory runs out.
LINGUO_API wxLocale* wxCreateLocale(int language);

// The current locale, or null before the first wxCreateLocale.
LINGUO_API wxLocale* wxGetLocale();

// The current locale's translation of key, as UTF-16 text owned by the library and valid
// for the life of the process. Every loaded catalogue serves every domain, so the domain
// only has to be present. The key pointer itself comes back when the key has no
// translation, no catalogue is loaded, there is no locale, or the domain is null; a null
// key gives an empty text. Safe from any thread; allocates nothing.
LINGUO_API const wchar_t* wxGetTranslation(const wchar_t* key, const char* domain);
