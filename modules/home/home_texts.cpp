#include "home_texts.h"

namespace {

// Order: zh_CN, zh_TW, de, en, fr, it, es, pt, ja, ko, ru, id, hi, tr, nl.
constexpr TextRow kRows[] = {
    {"settings",
     {"设置", "設定", "Einstellungen", "Settings", "Paramètres", "Impostazioni", "Configuración",
      "Definições", "設定", "설정", "Настройки", "Pengaturan", "सेटिंग्स", "Ayarlar",
      "Instellingen"}},
    {"about",
     {"关于", "關於", "Info", "About", "À propos", "Informazioni", "Acerca de", "Acerca de",
      "バージョン情報", "정보", "О программе", "Tentang", "परिचय", "Hakkında", "Over"}},
    {"check-for-updates",
     {"检查更新", "檢查更新", "Nach Updates suchen", "Check for updates",
      "Rechercher des mises à jour", "Controlla aggiornamenti", "Buscar actualizaciones",
      "Procurar atualizações", "更新を確認", "업데이트 확인", "Проверить обновления",
      "Periksa pembaruan", "अपडेट जाँचें", "Güncellemeleri denetle", "Naar updates zoeken"}},
    {"minimize",
     {"最小化", "最小化", "Minimieren", "Minimise", "Réduire", "Riduci a icona", "Minimizar",
      "Minimizar", "最小化", "최소화", "Свернуть", "Perkecil", "छोटा करें", "Simge durumuna küçült",
      "Minimaliseren"}},
    {"maximize",
     {"最大化/还原", "最大化/還原", "Maximieren/Wiederherstellen", "Maximise or restore",
      "Agrandir ou restaurer", "Ingrandisci o ripristina", "Maximizar o restaurar",
      "Maximizar ou restaurar", "最大化/元に戻す", "최대화/복원", "Развернуть или восстановить",
      "Perbesar atau pulihkan", "बड़ा करें या पुनर्स्थापित करें", "Büyüt veya geri yükle",
      "Maximaliseren of herstellen"}},
    {"hide-to-tray",
     {"隐藏到托盘", "隱藏到系統匣", "In den Infobereich", "Hide to the tray",
      "Masquer dans la zone de notification", "Nascondi nell'area di notifica",
      "Ocultar en la bandeja", "Ocultar na área de notificação", "トレイに隠す",
      "트레이로 숨기기", "Скрыть в трей", "Sembunyikan ke baki", "ट्रे में छिपाएँ",
      "Tepsiye gizle", "Verbergen in systeemvak"}},
    {"exit",
     {"退出", "結束", "Beenden", "Exit", "Quitter", "Esci", "Salir", "Sair", "終了", "종료",
      "Выход", "Keluar", "बाहर निकलें", "Çıkış", "Afsluiten"}},
    {"screenshot",
     {"截图", "截圖", "Bildschirmfoto", "Screenshot", "Capture d'écran", "Screenshot", "Captura",
      "Captura de ecrã", "スクリーンショット", "스크린샷", "Снимок экрана", "Tangkapan layar",
      "स्क्रीनशॉट", "Ekran görüntüsü", "Schermafbeelding"}},
    {"start-recording",
     {"开始录像", "開始錄影", "Aufnahme starten", "Start recording", "Démarrer", "Avvia registrazione",
      "Iniciar grabación", "Iniciar gravação", "録画開始", "녹화 시작", "Начать запись",
      "Mulai merekam", "रिकॉर्डिंग शुरू करें", "Kaydı başlat", "Opname starten"}},
    {"stop-recording",
     {"停止录像", "停止錄影", "Aufnahme beenden", "Stop", "Arrêter", "Interrompi", "Detener",
      "Parar", "録画停止", "녹화 중지", "Остановить", "Berhenti", "रोकें", "Durdur", "Stoppen"}},
    {"output-folder",
     {"输出文件夹", "輸出資料夾", "Ausgabeordner", "Output folder", "Dossier de sortie",
      "Cartella di destinazione", "Carpeta de salida", "Pasta de saída", "出力フォルダー",
      "출력 폴더", "Папка вывода", "Folder keluaran", "आउटपुट फ़ोल्डर", "Çıktı klasörü",
      "Uitvoermap"}},
    {"ready",
     {"就绪 · Alt+Shift+X 截图 · Alt+Shift+C 录像 · Alt+Shift+Z 停止",
      "就緒 · Alt+Shift+X 截圖 · Alt+Shift+C 錄影 · Alt+Shift+Z 停止",
      "Bereit · Alt+Umschalt+X Foto · Alt+Umschalt+C Aufnahme · Alt+Umschalt+Z Stopp",
      "Ready · Alt+Shift+X screenshot · Alt+Shift+C record · Alt+Shift+Z stop",
      "Prêt · Alt+Maj+X capture · Alt+Maj+C enregistrer · Alt+Maj+Z arrêter",
      "Pronto · Alt+Maiusc+X screenshot · Alt+Maiusc+C registra · Alt+Maiusc+Z ferma",
      "Listo · Alt+Mayús+X captura · Alt+Mayús+C grabar · Alt+Mayús+Z detener",
      "Pronto · Alt+Shift+X captura · Alt+Shift+C gravar · Alt+Shift+Z parar",
      "準備完了 · Alt+Shift+X 撮影 · Alt+Shift+C 録画 · Alt+Shift+Z 停止",
      "준비됨 · Alt+Shift+X 캡처 · Alt+Shift+C 녹화 · Alt+Shift+Z 중지",
      "Готово · Alt+Shift+X снимок · Alt+Shift+C запись · Alt+Shift+Z стоп",
      "Siap · Alt+Shift+X tangkap · Alt+Shift+C rekam · Alt+Shift+Z berhenti",
      "तैयार · Alt+Shift+X स्क्रीनशॉट · Alt+Shift+C रिकॉर्ड · Alt+Shift+Z रोकें",
      "Hazır · Alt+Shift+X görüntü · Alt+Shift+C kayıt · Alt+Shift+Z durdur",
      "Klaar · Alt+Shift+X schermafbeelding · Alt+Shift+C opnemen · Alt+Shift+Z stop"}},
    {"recording-%s",
     {"正在录像 %s", "正在錄影 %s", "Aufnahme läuft %s", "Recording %s", "Enregistrement %s",
      "Registrazione %s", "Grabando %s", "A gravar %s", "録画中 %s", "녹화 중 %s", "Запись %s",
      "Merekam %s", "रिकॉर्डिंग %s", "Kaydediliyor %s", "Opname %s"}},
    {"saving",
     {"正在保存录像…", "正在儲存錄影…", "Aufnahme wird gespeichert …", "Saving the recording…",
      "Sauvegarde de l'enregistrement…", "Salvataggio della registrazione…",
      "Guardando la grabación…", "A guardar a gravação…", "録画を保存しています…",
      "녹화를 저장하는 중…", "Сохранение записи…", "Menyimpan rekaman…",
      "रिकॉर्डिंग सहेजी जा रही है…", "Kayıt kaydediliyor…", "Opname wordt opgeslagen…"}},
};

}  // namespace

ModuleTexts& HomeTexts() {
  static ModuleTexts texts(kRows, sizeof(kRows) / sizeof(kRows[0]));
  return texts;
}

const TextRow* HomeTextRows(size_t* count) {
  *count = sizeof(kRows) / sizeof(kRows[0]);
  return kRows;
}
