<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CheckCell</name>
    <message>
        <source>Select all</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Select row %1</source>
        <translation>Zeile %1 auswählen</translation>
    </message>
    <message>
        <source>Select %1</source>
        <translation>%1 auswählen</translation>
    </message>
</context>
<context>
    <name>EraseSummary</name>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>%1 data (1 item)</source>
        <translation>%1-Daten (1 Element)</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Nothing is left to erase of what was chosen: the phone answered for all of it before the cancel.</source>
        <translation>Von der Auswahl ist nichts mehr zu löschen: Das Telefon hat schon vor dem Abbruch für alles geantwortet.</translation>
    </message>
    <message>
        <source>Nothing is ticked to erase yet.</source>
        <translation>Noch ist nichts zum Löschen angehakt.</translation>
    </message>
    <message>
        <source>No app is ticked to erase yet.</source>
        <translation>Noch ist keine App zum Löschen angehakt.</translation>
    </message>
    <message>
        <source>Nothing was found on the phone to erase.</source>
        <translation>Auf dem Telefon wurde nichts zum Löschen gefunden.</translation>
    </message>
    <message>
        <source>Erase Now will erase %1.</source>
        <translation>„Jetzt löschen“ löscht %1.</translation>
    </message>
    <message>
        <source>Erase Now will erase the data of %1.</source>
        <translation>„Jetzt löschen“ löscht die Daten von %1.</translation>
    </message>
    <message>
        <source>Erase Now will erase everything listed on the phone: %1.</source>
        <translation>„Jetzt löschen“ löscht alles, was das Telefon aufführt: %1.</translation>
    </message>
    <message>
        <source>1 contact</source>
        <translation>1 Kontakt</translation>
    </message>
    <message numerus="yes">
        <source>%Ln contacts</source>
        <translation>
            <numerusform>%Ln Kontakt</numerusform>
            <numerusform>%Ln Kontakte</numerusform>
        </translation>
    </message>
    <message>
        <source>1 call</source>
        <translation>1 Anruf</translation>
    </message>
    <message numerus="yes">
        <source>%Ln calls</source>
        <translation>
            <numerusform>%Ln Anruf</numerusform>
            <numerusform>%Ln Anrufe</numerusform>
        </translation>
    </message>
    <message>
        <source>1 call thread</source>
        <translation>1 Anrufverlauf</translation>
    </message>
    <message numerus="yes">
        <source>%Ln call threads</source>
        <translation>
            <numerusform>%Ln Anrufverlauf</numerusform>
            <numerusform>%Ln Anrufverläufe</numerusform>
        </translation>
    </message>
    <message>
        <source>1 message</source>
        <translation>1 Nachricht</translation>
    </message>
    <message numerus="yes">
        <source>%Ln messages</source>
        <translation>
            <numerusform>%Ln Nachricht</numerusform>
            <numerusform>%Ln Nachrichten</numerusform>
        </translation>
    </message>
    <message>
        <source>1 message thread</source>
        <translation>1 Unterhaltung</translation>
    </message>
    <message numerus="yes">
        <source>%Ln message threads</source>
        <translation>
            <numerusform>%Ln Unterhaltung</numerusform>
            <numerusform>%Ln Unterhaltungen</numerusform>
        </translation>
    </message>
    <message>
        <source>1 photo</source>
        <translation>1 Foto</translation>
    </message>
    <message numerus="yes">
        <source>%Ln photos</source>
        <translation>
            <numerusform>%Ln Foto</numerusform>
            <numerusform>%Ln Fotos</numerusform>
        </translation>
    </message>
    <message>
        <source>1 audio file</source>
        <translation>1 Audiodatei</translation>
    </message>
    <message numerus="yes">
        <source>%Ln audio files</source>
        <translation>
            <numerusform>%Ln Audiodatei</numerusform>
            <numerusform>%Ln Audiodateien</numerusform>
        </translation>
    </message>
    <message>
        <source>1 video</source>
        <translation>1 Video</translation>
    </message>
    <message numerus="yes">
        <source>%Ln videos</source>
        <translation>
            <numerusform>%Ln Video</numerusform>
            <numerusform>%Ln Videos</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 data (%Ln items)</source>
        <translation>
            <numerusform>%1-Daten (%Ln Element)</numerusform>
            <numerusform>%1-Daten (%Ln Elemente)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Purgatex for Android</source>
        <translation>Purgatex for Android</translation>
    </message>
    <message>
        <source>Please connect your Android device to PC via USB cable</source>
        <translation>Bitte verbinden Sie Ihr Android-Gerät per USB-Kabel mit dem PC</translation>
    </message>
    <message>
        <source>Please follow the steps to enable</source>
        <translation>Bitte folgen Sie den Schritten, um</translation>
    </message>
    <message>
        <source>USB debugging</source>
        <translation>USB-Debugging</translation>
    </message>
    <message>
        <source> to continue</source>
        <translation> einzuschalten und fortzufahren</translation>
    </message>
    <message>
        <source>Installing ...</source>
        <translation>Wird installiert …</translation>
    </message>
    <message>
        <source>NOTE:</source>
        <translation>Hinweis:</translation>
    </message>
    <message>
        <source>Purgatex for Android app will be installed on the device to ensure successful connection.</source>
        <translation>Die App Purgatex for Android wird für die Verbindung auf dem Gerät installiert.</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Model Number</source>
        <translation>Modellnummer</translation>
    </message>
    <message>
        <source>Android Version</source>
        <translation>Android-Version</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Sdcard</source>
        <translation>SD-Karte</translation>
    </message>
    <message>
        <source>Click            to the program with SMS scan authorization on the screen of your device when an app ‘Changing SMS app’ pops up.</source>
        <translation>Bitte            antippen, wenn auf dem Gerät die Frage ‚SMS-App ändern?‘ erscheint: So darf das Programm die SMS lesen.</translation>
    </message>
    <message>
        <source>&apos;Yes&apos;</source>
        <translation>„Ja“</translation>
    </message>
    <message>
        <source>Erase All Data</source>
        <translation>Alle Daten löschen</translation>
    </message>
    <message>
        <source>Permanently wipe all private data from Android device, making the data inaccessible even for the greatest hackers. All your privacy is well protected!</source>
        <translation>Löscht alle privaten Daten endgültig vom Android-Gerät, sodass sie selbst für die besten Hacker unerreichbar sind. Ihre Privatsphäre ist rundum geschützt!</translation>
    </message>
    <message>
        <source>Private Data</source>
        <translation>Private Daten</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Kontakte</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Anrufliste</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Foto</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>Search name or number</source>
        <translation>Name oder Nummer suchen</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Hinweis:</translation>
    </message>
    <message>
        <source>The program will completely erase all private data generated by the following apps.</source>
        <translation>Das Programm löscht alle privaten Daten der folgenden Apps vollständig.</translation>
    </message>
    <message>
        <source>For SNS app:</source>
        <translation>Soziale Netzwerke:</translation>
    </message>
    <message>
        <source>delete cookies, caches, photos, downloads, account info and tmp files.</source>
        <translation>löscht Cookies, Caches, Fotos, Downloads, Kontodaten und temporäre Dateien.</translation>
    </message>
    <message>
        <source>For messaging app: </source>
        <translation>Messenger: </translation>
    </message>
    <message>
        <source>delete cookies, downloads, photos, audio, video, history and tmp files.</source>
        <translation>löscht Cookies, Downloads, Fotos, Audio, Videos, Verlauf und temporäre Dateien.</translation>
    </message>
    <message>
        <source>SelectAll</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>1. Please close all background apps, such as music, games, Twitter, Facebook, etc.</source>
        <translation>1. Bitte schließen Sie alle Apps im Hintergrund, z. B. Musik, Spiele, Twitter, Facebook.</translation>
    </message>
    <message>
        <source>2. Please wait for updates to be completed before erasing.</source>
        <translation>2. Warten Sie vor dem Löschen, bis laufende Updates abgeschlossen sind.</translation>
    </message>
    <message>
        <source>3. Make sure all important data is backed up safely.</source>
        <translation>3. Stellen Sie sicher, dass alle wichtigen Daten gesichert sind.</translation>
    </message>
    <message>
        <source>4. Select security level </source>
        <translation>4. Sicherheitsstufe: </translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>5. Please type</source>
        <translation>5. Geben Sie</translation>
    </message>
    <message>
        <source>to confirm </source>
        <translation>ein: </translation>
    </message>
    <message>
        <source>Please Type at here...</source>
        <translation>Bitte hier eingeben …</translation>
    </message>
    <message>
        <source>Erasing Data...</source>
        <translation>Daten werden gelöscht …</translation>
    </message>
    <message>
        <source>Warning: To avoid change to your device,please don&apos;t disconnect the device while erasing</source>
        <translation>Achtung: Trennen Sie das Gerät während des Löschens nicht vom PC, um Schäden zu vermeiden.</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message>
        <source>All data on your device has been erased permanently!</source>
        <translation>Alle Daten auf Ihrem Gerät wurden endgültig gelöscht!</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Chosen</source>
        <translation>Gewählt</translation>
    </message>
    <message>
        <source>Erased</source>
        <translation>Gelöscht</translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>Not confirmed</source>
        <translation>Unbestätigt</translation>
    </message>
    <message>
        <source>Verified</source>
        <translation>Geprüft</translation>
    </message>
    <message>
        <source>Open the erase record (PDF)</source>
        <translation>Löschprotokoll öffnen (PDF)</translation>
    </message>
    <message>
        <source>Erase Cancelled</source>
        <translation>Löschen abgebrochen</translation>
    </message>
    <message>
        <source>Scanning...</source>
        <translation>Scan läuft …</translation>
    </message>
    <message>
        <source>Calculating time ...</source>
        <translation>Zeit wird berechnet …</translation>
    </message>
    <message>
        <source>Cancel Scan</source>
        <translation>Scan abbrechen</translation>
    </message>
    <message>
        <source>Cancel Erase</source>
        <translation>Löschen abbrechen</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Warning about Factory Reset</source>
        <translation>Hinweis: Werkseinstellungen</translation>
    </message>
    <message>
        <source>App State</source>
        <translation>App-Status</translation>
    </message>
    <message>
        <source>Please Reconnect Device</source>
        <translation>Gerät neu verbinden</translation>
    </message>
    <message>
        <source>Purgatex</source>
        <translation>Purgatex</translation>
    </message>
    <message>
        <source>Sorry! The program failed to detect the device. Please check the following suggestions:</source>
        <translation>Das Programm hat das Gerät leider nicht erkannt. Bitte prüfen Sie Folgendes:</translation>
    </message>
    <message>
        <source>1. Enable USB debugging on the device.</source>
        <translation>1. Schalten Sie auf dem Gerät USB-Debugging ein.</translation>
    </message>
    <message>
        <source>2. If Windows failed to install the USB driver, please install it manually. You can check them in this page: </source>
        <translation>2. Falls Windows den USB-Treiber nicht installieren konnte, installieren Sie ihn bitte von Hand. Mehr dazu auf dieser Seite: </translation>
    </message>
    <message>
        <source>Set security level</source>
        <translation>Sicherheitsstufe festlegen</translation>
    </message>
    <message>
        <source>Select Level</source>
        <translation>Stufe wählen</translation>
    </message>
    <message>
        <source>High Level (3 Times)</source>
        <translation>Hohe Stufe (3 Durchgänge)</translation>
    </message>
    <message>
        <source>This option is the best one if you have previously saved sensitive information like bank account, password. The security standard is based on US Dod S220.22-M.</source>
        <translation>Die beste Wahl, wenn Sie vertrauliche Daten wie Bankverbindungen oder Passwörter gespeichert hatten. Der Sicherheitsstandard beruht auf US DoD 5220.22-M.</translation>
    </message>
    <message>
        <source>Medium Level (Recommended)</source>
        <translation>Mittlere Stufe (empfohlen)</translation>
    </message>
    <message>
        <source>This option will overwrite the device in 2 times to ensure all the files are deleted permanently. There is zero chance to recover the files no matter how smart the guy is.</source>
        <translation>Überschreibt das Gerät in 2 Durchgängen, damit alle Dateien endgültig gelöscht sind. Sie lassen sich nicht wiederherstellen, ganz gleich, wie geschickt jemand vorgeht.</translation>
    </message>
    <message>
        <source>Low Level (1 Time)</source>
        <translation>Niedrige Stufe (1 Durchgang)</translation>
    </message>
    <message>
        <source>This option will overwrite all of your data with zero to ensure the files are not recoverable. This is also the fastest way to erase an Android device.</source>
        <translation>Überschreibt alle Ihre Daten mit Nullen, sodass sich die Dateien nicht wiederherstellen lassen. Zugleich der schnellste Weg, ein Android-Gerät zu löschen.</translation>
    </message>
    <message>
        <source> About Us</source>
        <translation> Über uns</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>My Phone</source>
        <translation>Mein Telefon</translation>
    </message>
    <message>
        <source>Shows the phone&apos;s model, Android version, battery and storage.</source>
        <translation>Zeigt Modell, Android-Version, Akku und Speicher des Telefons.</translation>
    </message>
    <message>
        <source>Erase All</source>
        <translation>Alles löschen</translation>
    </message>
    <message>
        <source>Scans everything on the phone to erase it all.</source>
        <translation>Scannt alles auf dem Telefon, um alles zu löschen.</translation>
    </message>
    <message>
        <source>Erase Private</source>
        <translation>Privates löschen</translation>
    </message>
    <message>
        <source>Scans contacts, call history, messages, photos, audio and video to choose what to erase.</source>
        <translation>Scannt Kontakte, Anrufliste, Nachrichten, Fotos, Audio und Videos, um auszuwählen, was gelöscht wird.</translation>
    </message>
    <message>
        <source>Erase Apps</source>
        <translation>Apps löschen</translation>
    </message>
    <message>
        <source>Scans the data of Facebook, Twitter, Skype, Viber, Kik and WhatsApp to choose what to erase.</source>
        <translation>Scannt die Daten von Facebook, Twitter, Skype, Viber, Kik und WhatsApp, um auszuwählen, was gelöscht wird.</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>Help, About and Exit.</source>
        <translation>Hilfe, Über und Beenden.</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Ends the program.</source>
        <translation>Beendet das Programm.</translation>
    </message>
    <message>
        <source>Scan</source>
        <translation>Scannen</translation>
    </message>
    <message>
        <source>Scan progress</source>
        <translation>Scanfortschritt</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Stops the scan.</source>
        <translation>Hält den Scan an.</translation>
    </message>
    <message>
        <source>Erase progress</source>
        <translation>Löschfortschritt</translation>
    </message>
    <message>
        <source>Stops the erase.</source>
        <translation>Hält das Löschen an.</translation>
    </message>
    <message>
        <source>Install progress</source>
        <translation>Installationsfortschritt</translation>
    </message>
    <message>
        <source>Phone storage used</source>
        <translation>Belegter Telefonspeicher</translation>
    </message>
    <message>
        <source>SD card storage used</source>
        <translation>Belegter Speicher der SD-Karte</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Shows the contacts, calls or messages that hold the text typed.</source>
        <translation>Zeigt die Kontakte, Anrufe oder Nachrichten, die den eingegebenen Text enthalten.</translation>
    </message>
    <message>
        <source>Details</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Erase</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Goes on to the confirm page for what is ticked.</source>
        <translation>Weiter zur Bestätigung für alles Angehakte.</translation>
    </message>
    <message>
        <source>Goes on to the confirm page for the apps ticked.</source>
        <translation>Weiter zur Bestätigung für die angehakten Apps.</translation>
    </message>
    <message>
        <source>Ticks every app that holds data.</source>
        <translation>Hakt jede App an, die Daten enthält.</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Changes the security level.</source>
        <translation>Ändert die Sicherheitsstufe.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Erase Now</source>
        <translation>Jetzt löschen</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Not erased</source>
        <translation>Nicht gelöscht</translation>
    </message>
    <message>
        <source>How to enable USB debugging</source>
        <translation>So schalten Sie USB-Debugging ein</translation>
    </message>
    <message>
        <source>1. Open Settings and tap “About phone”. 2. Tap “Build number” 7 times. 3. In “Developer options” turn on “USB debugging”.</source>
        <translation>1. Öffnen Sie die Einstellungen und tippen Sie auf „Über das Telefon“. 2. Tippen Sie 7-mal auf „Build-Nummer“. 3. Schalten Sie in den „Entwickleroptionen“ „USB-Debugging“ ein.</translation>
    </message>
    <message>
        <source>Are you sure you want to stop the scanning?</source>
        <translation>Möchten Sie den Scan wirklich anhalten?</translation>
    </message>
    <message>
        <source>The program is wiping your data, are you sure you want to stop the wiping process? This will cause the data won&apos;t be wiped completely.</source>
        <translation>Das Programm löscht gerade Ihre Daten. Möchten Sie das Löschen wirklich anhalten? Dann werden die Daten nicht vollständig gelöscht.</translation>
    </message>
    <message>
        <source>Please type word ‘Erase’ in the box to confirm.</source>
        <translation>Bitte geben Sie zur Bestätigung das Wort ‚Erase‘ in das Feld ein.</translation>
    </message>
    <message>
        <source>Please select one item at least! Then next.</source>
        <translation>Bitte wählen Sie mindestens ein Element aus und fahren Sie dann fort.</translation>
    </message>
    <message>
        <source>To completely erase all settings from your Android device. We suggest restoring factory settings</source>
        <translation>Um auch alle Einstellungen Ihres Android-Geräts zu löschen, empfehlen wir, es auf die Werkseinstellungen zurückzusetzen.</translation>
    </message>
    <message>
        <source>Please open the App ‘Purgatex for Android’ on your device.</source>
        <translation>Bitte öffnen Sie die App ‚Purgatex for Android‘ auf Ihrem Gerät.</translation>
    </message>
    <message>
        <source>Please reconnect your device to PC</source>
        <translation>Bitte verbinden Sie Ihr Gerät erneut mit dem PC</translation>
    </message>
    <message>
        <source>Another program is using the port needed to reach your device. Please close this program and try again:</source>
        <translation>Ein anderes Programm belegt den Port, über den Ihr Gerät erreicht wird. Bitte schließen Sie dieses Programm und versuchen Sie es erneut:</translation>
    </message>
    <message>
        <source>Purgatex for Android, version 1.0</source>
        <translation>Purgatex for Android, Version 1.0</translation>
    </message>
    <message>
        <source>Permanently erases contacts, call history, messages, photos, audio, video and app data from an Android phone connected by USB.</source>
        <translation>Löscht Kontakte, Anrufliste, Nachrichten, Fotos, Audio, Videos und App-Daten endgültig von einem per USB verbundenen Android-Telefon.</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>%1 (%L2)</source>
        <translation>%1 (%L2)</translation>
    </message>
    <message>
        <source>Space ticks the current row; the first row ticks every row.</source>
        <translation>Die Leertaste hakt die aktuelle Zeile an; die erste Zeile hakt alle Zeilen an.</translation>
    </message>
    <message>
        <source>User guide: installing the USB driver</source>
        <translation>Benutzerhandbuch: USB-Treiber installieren</translation>
    </message>
    <message>
        <source>Purgatex for Android user guide</source>
        <translation>Benutzerhandbuch von Purgatex for Android</translation>
    </message>
    <message>
        <source>App InActive</source>
        <translation>App inaktiv</translation>
    </message>
    <message>
        <source>App InActive </source>
        <translation>App inaktiv </translation>
    </message>
    <message>
        <source>App Active</source>
        <translation>App aktiv</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>Gesamt:</translation>
    </message>
    <message>
        <source>%1 Total</source>
        <translation>%1 gesamt</translation>
    </message>
    <message>
        <source>Free:</source>
        <translation>Frei:</translation>
    </message>
    <message>
        <source>%1 Free</source>
        <translation>%1 frei</translation>
    </message>
    <message>
        <source>%1 Used</source>
        <translation>%1 belegt</translation>
    </message>
    <message>
        <source>Remaining Time 0:0:0</source>
        <translation>Restzeit 0:0:0</translation>
    </message>
    <message>
        <source>not read</source>
        <translation>nicht gelesen</translation>
    </message>
    <message>
        <source>Erase Private Data</source>
        <translation>Private Daten löschen</translation>
    </message>
    <message>
        <source>Permanently erase sensitive private information from Android device.  No chance to retrieve any data from the device even with professional data recovery software!</source>
        <translation>Löscht vertrauliche private Daten endgültig vom Android-Gerät. Selbst professionelle Datenrettungssoftware kann sie nicht wiederherstellen!</translation>
    </message>
    <message>
        <source>Erase App Data</source>
        <translation>App-Daten löschen</translation>
    </message>
    <message>
        <source>Completely Erase all private data from target apps, including Facebook, Twitter, WhatsApp, Skype, Viber and Kik.</source>
        <translation>Löscht alle privaten Daten der gewählten Apps vollständig, darunter Facebook, Twitter, WhatsApp, Skype, Viber und Kik.</translation>
    </message>
    <message>
        <source>Remain Time </source>
        <translation>Restzeit </translation>
    </message>
    <message>
        <source>Remaining Time </source>
        <translation>Restzeit </translation>
    </message>
    <message>
        <source>The phone listed this record&apos;s id more than once, so it cannot be told which item the id would erase: it cannot be chosen.</source>
        <translation>Das Telefon hat die ID dieses Eintrags mehrfach aufgeführt; es lässt sich nicht sagen, welches Element die ID löschen würde. Der Eintrag kann nicht ausgewählt werden.</translation>
    </message>
    <message>
        <source>The phone did not give a location this file can be erased by.</source>
        <translation>Das Telefon hat keinen Speicherort angegeben, über den sich diese Datei löschen lässt.</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>Nummer</translation>
    </message>
    <message>
        <source>Email</source>
        <translation>E-Mail</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>Adresse</translation>
    </message>
    <message>
        <source>Organization</source>
        <translation>Organisation</translation>
    </message>
    <message>
        <source>CallType</source>
        <translation>Anrufart</translation>
    </message>
    <message>
        <source>Druation</source>
        <translation>Dauer</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Datum</translation>
    </message>
    <message>
        <source>Smsbody</source>
        <translation>Nachricht</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Speicherort</translation>
    </message>
</context>
<context>
    <name>browser</name>
    <message>
        <source> Byte</source>
        <translation> Byte</translation>
    </message>
    <message>
        <source> Kbyte</source>
        <translation> KByte</translation>
    </message>
    <message>
        <source> Mbyte</source>
        <translation> MByte</translation>
    </message>
    <message>
        <source> Gbyte</source>
        <translation> GByte</translation>
    </message>
    <message>
        <source>size greater than 1 tb</source>
        <translation>größer als 1 TB</translation>
    </message>
</context>
<context>
    <name>devicelink</name>
    <message>
        <source>The program tries again by itself.</source>
        <translation>Das Programm versucht es von selbst erneut.</translation>
    </message>
    <message>
        <source>Unplug all Android devices but the one to erase</source>
        <translation>Trennen Sie alle Android-Geräte außer dem zu löschenden</translation>
    </message>
    <message>
        <source>adb lists these devices:</source>
        <translation>adb listet diese Geräte auf:</translation>
    </message>
    <message>
        <source>The program works with one phone at a time. Unplug the others, or switch off USB debugging on them (emulators too); the connection goes on by itself.</source>
        <translation>Das Programm arbeitet immer nur mit einem Telefon. Trennen Sie die anderen oder schalten Sie dort USB-Debugging aus (auch bei Emulatoren); die Verbindung wird dann von selbst fortgesetzt.</translation>
    </message>
    <message>
        <source>The Android Debug Bridge (adb) was not found</source>
        <translation>Die Android Debug Bridge (adb) wurde nicht gefunden</translation>
    </message>
    <message>
        <source>The program reaches the phone through adb and looked for it in:</source>
        <translation>Das Programm erreicht das Telefon über adb und hat adb hier gesucht:</translation>
    </message>
    <message>
        <source>Purgatex for Android does not bring adb: download the SDK Platform-Tools for Windows from developer.android.com/tools/releases/platform-tools and unzip them as C:\platform-tools, or copy adb.exe, AdbWinApi.dll and AdbWinUsbApi.dll into the program&apos;s folder.</source>
        <translation>Purgatex for Android bringt adb nicht mit: Laden Sie die SDK Platform-Tools für Windows von developer.android.com/tools/releases/platform-tools herunter und entpacken Sie sie als C:\platform-tools, oder kopieren Sie adb.exe, AdbWinApi.dll und AdbWinUsbApi.dll in den Ordner des Programms.</translation>
    </message>
    <message>
        <source>Install it (Debian and Ubuntu package &quot;adb&quot;: sudo apt install adb) or copy adb into the program&apos;s folder.</source>
        <translation>Installieren Sie es (Paket „adb“ unter Debian und Ubuntu: sudo apt install adb) oder kopieren Sie adb in den Ordner des Programms.</translation>
    </message>
    <message>
        <source>The Purgatex for Android app could not be installed</source>
        <translation>Die App Purgatex for Android konnte nicht installiert werden</translation>
    </message>
    <message>
        <source>adb says:</source>
        <translation>adb meldet:</translation>
    </message>
    <message>
        <source>Unlock the phone and accept the installation if the phone asks. If an older copy of the app is on the phone, uninstall it there. </source>
        <translation>Entsperren Sie das Telefon und stimmen Sie der Installation zu, falls das Telefon fragt. Ist dort eine ältere Version der App installiert, deinstallieren Sie sie. </translation>
    </message>
    <message>
        <source>The app package Purgatex.apk is missing</source>
        <translation>Das App-Paket Purgatex.apk fehlt</translation>
    </message>
    <message>
        <source>The program installs its companion app on the phone from:</source>
        <translation>Das Programm installiert seine Begleit-App von hier auf dem Telefon:</translation>
    </message>
    <message>
        <source>That file is not there. Start the program from its installation folder, or copy Purgatex.apk there. </source>
        <translation>Dort liegt diese Datei nicht. Starten Sie das Programm aus seinem Installationsordner oder kopieren Sie Purgatex.apk dorthin. </translation>
    </message>
    <message>
        <source>The Purgatex for Android app does not start on the phone</source>
        <translation>Die App Purgatex for Android startet auf dem Telefon nicht</translation>
    </message>
    <message>
        <source>The phone says:</source>
        <translation>Das Telefon meldet:</translation>
    </message>
    <message>
        <source>Unlock the phone and keep it unlocked. If the app is disabled (Settings, Apps), enable it; or uninstall it so that the program installs it afresh. </source>
        <translation>Entsperren Sie das Telefon und lassen Sie es entsperrt. Ist die App deaktiviert (Einstellungen, Apps), aktivieren Sie sie – oder deinstallieren Sie sie, damit das Programm sie neu installiert. </translation>
    </message>
    <message>
        <source>The connection to the app cannot be set up</source>
        <translation>Die Verbindung zur App lässt sich nicht herstellen</translation>
    </message>
    <message>
        <source>adb could not forward port 10000 to the phone:</source>
        <translation>adb konnte Port 10000 nicht an das Telefon weiterleiten:</translation>
    </message>
    <message>
        <source>Close other Android tools (emulators, phone managers), then unplug the phone and plug it in again. </source>
        <translation>Schließen Sie andere Android-Werkzeuge (Emulatoren, Telefonverwaltungen), trennen Sie dann das Telefon und schließen Sie es wieder an. </translation>
    </message>
    <message>
        <source>Another adb server is in the way</source>
        <translation>Ein anderer adb-Server ist im Weg</translation>
    </message>
    <message>
        <source>Port 5037, which adb needs, is held by a program that this user can neither name nor stop: most likely an adb server started by another user or as administrator. Stop it from there (&quot;adb kill-server&quot;), or end adb.exe in the Task Manager as administrator.</source>
        <translation>Port 5037, den adb braucht, belegt ein Programm, das dieser Benutzer weder benennen noch beenden kann – höchstwahrscheinlich ein adb-Server, den ein anderer Benutzer oder ein Administrator gestartet hat. Beenden Sie ihn dort („adb kill-server“) oder beenden Sie adb.exe im Task-Manager als Administrator.</translation>
    </message>
    <message>
        <source>Port 5037, which adb needs, is held by a program that this user can neither name nor stop: most likely an adb server started by another user, for example with sudo. Stop it there (&quot;sudo adb kill-server&quot;).</source>
        <translation>Port 5037, den adb braucht, belegt ein Programm, das dieser Benutzer weder benennen noch beenden kann – höchstwahrscheinlich ein adb-Server, den ein anderer Benutzer gestartet hat, zum Beispiel mit sudo. Beenden Sie ihn dort („sudo adb kill-server“).</translation>
    </message>
    <message>
        <source> The program goes on by itself once the port is free.</source>
        <translation> Sobald der Port frei ist, macht das Programm von selbst weiter.</translation>
    </message>
    <message>
        <source>2. If Windows failed to install the USB driver, please install it manually. You can check them in this page: </source>
        <translation>2. Falls Windows den USB-Treiber nicht installieren konnte, installieren Sie ihn bitte von Hand. Mehr dazu auf dieser Seite: </translation>
    </message>
    <message>
        <source>User guide: installing the USB driver</source>
        <translation>Benutzerhandbuch: USB-Treiber installieren</translation>
    </message>
    <message>
        <source>2. If adb lists the phone with &quot;no permissions&quot;, your user may not reach it: install the udev rules (package android-sdk-platform-tools-common), join the plugdev group and log in again. You can read more in this page: </source>
        <translation>2. Zeigt adb „no permissions“, fehlt Ihrem Benutzer der Zugriff: udev-Regeln installieren (Paket android-sdk-platform-tools-common), der Gruppe plugdev beitreten, neu anmelden. Mehr dazu auf dieser Seite: </translation>
    </message>
    <message>
        <source>User guide: USB access on Linux</source>
        <translation>Benutzerhandbuch: USB-Zugriff unter Linux</translation>
    </message>
</context>
<context>
    <name>eraseplan</name>
    <message>
        <source>High</source>
        <translation>Hoch</translation>
    </message>
    <message>
        <source>Medium</source>
        <translation>Mittel</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Niedrig</translation>
    </message>
    <message>
        <source>Erase Private Data</source>
        <translation>Private Daten löschen</translation>
    </message>
    <message>
        <source>Erase App Data</source>
        <translation>App-Daten löschen</translation>
    </message>
    <message>
        <source>Erase All Data</source>
        <translation>Alle Daten löschen</translation>
    </message>
    <message>
        <source>Contact</source>
        <translation>Kontakte</translation>
    </message>
    <message>
        <source>History</source>
        <translation>Anrufliste</translation>
    </message>
    <message>
        <source>Message</source>
        <translation>Nachrichten</translation>
    </message>
    <message>
        <source>Photo</source>
        <translation>Fotos</translation>
    </message>
    <message>
        <source>Audio</source>
        <translation>Audio</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Videos</translation>
    </message>
    <message>
        <source>The phone did not confirm that the erase has stopped; it may still be erasing items of this run. You can press Erase Now to go on, or choose another task.</source>
        <translation>Das Telefon hat nicht bestätigt, dass das Löschen angehalten wurde; womöglich löscht es noch Elemente dieses Durchgangs. Sie können mit „Jetzt löschen“ fortfahren oder eine andere Aufgabe wählen.</translation>
    </message>
    <message>
        <source>The phone did not confirm that the scan has stopped. You can scan again or choose another task.</source>
        <translation>Das Telefon hat nicht bestätigt, dass der Scan angehalten wurde. Sie können erneut scannen oder eine andere Aufgabe wählen.</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>All data on your device has been erased permanently!</source>
        <translation>Alle Daten auf Ihrem Gerät wurden endgültig gelöscht!</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Nothing was erased.</source>
        <translation>Es wurde nichts gelöscht.</translation>
    </message>
    <message>
        <source>1 item erased permanently.</source>
        <translation>1 Element endgültig gelöscht.</translation>
    </message>
    <message numerus="yes">
        <source>%n items erased permanently.</source>
        <translation>
            <numerusform>%n Element endgültig gelöscht.</numerusform>
            <numerusform>%n Elemente endgültig gelöscht.</numerusform>
        </translation>
    </message>
    <message>
        <source>1 item could not be erased (%1).</source>
        <translation>1 Element konnte nicht gelöscht werden (%1).</translation>
    </message>
    <message numerus="yes">
        <source>%n items could not be erased (%1).</source>
        <translation>
            <numerusform>%n Element konnte nicht gelöscht werden (%1).</numerusform>
            <numerusform>%n Elemente konnten nicht gelöscht werden (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>1 item was sent, but the phone did not confirm it as erased (%1).</source>
        <translation>1 Element wurde gesendet, aber das Telefon hat sein Löschen nicht bestätigt (%1).</translation>
    </message>
    <message numerus="yes">
        <source>%n items were sent, but the phone did not confirm them as erased (%1).</source>
        <translation>
            <numerusform>%n Element wurde gesendet, aber das Telefon hat sein Löschen nicht bestätigt (%1).</numerusform>
            <numerusform>%n Elemente wurden gesendet, aber das Telefon hat ihr Löschen nicht bestätigt (%1).</numerusform>
        </translation>
    </message>
    <message>
        <source>1 item is not confirmed erased (%1): it may already have been erased before the cancel.</source>
        <translation>Für 1 Element ist das Löschen nicht bestätigt (%1): Es wurde womöglich schon vor dem Abbruch gelöscht.</translation>
    </message>
    <message numerus="yes">
        <source>%n items are not confirmed erased (%1): they may already have been erased before the cancel.</source>
        <translation>
            <numerusform>Für %n Element ist das Löschen nicht bestätigt (%1): Es wurde womöglich schon vor dem Abbruch gelöscht.</numerusform>
            <numerusform>Für %n Elemente ist das Löschen nicht bestätigt (%1): Sie wurden womöglich schon vor dem Abbruch gelöscht.</numerusform>
        </translation>
    </message>
    <message>
        <source>Some lists could not be read whole from the phone (%1): what was not read has not been erased.</source>
        <translation>Einige Listen konnten nicht vollständig vom Telefon gelesen werden (%1): Was nicht gelesen wurde, wurde nicht gelöscht.</translation>
    </message>
    <message>
        <source>One list could not be read whole from the phone (%1): what was not read has not been erased.</source>
        <translation>Eine Liste konnte nicht vollständig vom Telefon gelesen werden (%1): Was nicht gelesen wurde, wurde nicht gelöscht.</translation>
    </message>
    <message>
        <source>The phone did not let the program read %1: nothing of it was erased.</source>
        <translation>Das Telefon hat dem Programm das Lesen von %1 nicht erlaubt: Davon wurde nichts gelöscht.</translation>
    </message>
</context>
<context>
    <name>eraserecord</name>
    <message>
        <source>1 chosen item</source>
        <translation>1 ausgewählten Element</translation>
    </message>
    <message numerus="yes">
        <source>%n chosen items</source>
        <translation>
            <numerusform>%n ausgewählten Element</numerusform>
            <numerusform>%n ausgewählten Elementen</numerusform>
        </translation>
    </message>
    <message>
        <source>Failed</source>
        <translation>Fehlgeschlagen</translation>
    </message>
    <message>
        <source>Sent, not confirmed</source>
        <translation>Gesendet, nicht bestätigt</translation>
    </message>
    <message>
        <source>Answered by count only</source>
        <translation>Nur mit Anzahl beantwortet</translation>
    </message>
    <message>
        <source>Sent before the cancel without an answer, failed when sent again (may have been erased before the cancel)</source>
        <translation>Vor dem Abbruch ohne Antwort gesendet, beim erneuten Senden fehlgeschlagen (womöglich schon vor dem Abbruch gelöscht)</translation>
    </message>
    <message>
        <source>Not sent</source>
        <translation>Nicht gesendet</translation>
    </message>
    <message>
        <source>%1 total, %2 free</source>
        <translation>%1 gesamt, %2 frei</translation>
    </message>
    <message>
        <source>Verification</source>
        <translation>Prüfung</translation>
    </message>
    <message>
        <source>not listed</source>
        <translation>nicht aufgelistet</translation>
    </message>
    <message>
        <source>not read whole</source>
        <translation>nicht vollständig gelesen</translation>
    </message>
    <message>
        <source>could not check</source>
        <translation>nicht prüfbar</translation>
    </message>
    <message>
        <source>Category</source>
        <translation>Kategorie</translation>
    </message>
    <message>
        <source>Confirmed erased, looked for</source>
        <translation>Als gelöscht bestätigt, gesucht</translation>
    </message>
    <message>
        <source>Still listed</source>
        <translation>Noch aufgeführt</translation>
    </message>
    <message>
        <source>1 of the items the phone answered for by counts alone</source>
        <translation>1 der Elemente, für die das Telefon nur Anzahlen gemeldet hat</translation>
    </message>
    <message numerus="yes">
        <source>%n of the items the phone answered for by counts alone</source>
        <translation>
            <numerusform>%n der Elemente, für die das Telefon nur Anzahlen gemeldet hat</numerusform>
            <numerusform>%n der Elemente, für die das Telefon nur Anzahlen gemeldet hat</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — still listed after it was reported erased:</source>
        <translation>%1 – nach gemeldetem Löschen noch aufgeführt:</translation>
    </message>
    <message>
        <source>%1 — listed in another form, which may be the same:</source>
        <translation>%1 – in anderer Schreibweise aufgeführt, womöglich dasselbe:</translation>
    </message>
    <message>
        <source>completed</source>
        <translation>abgeschlossen</translation>
    </message>
    <message>
        <source>completed with failures</source>
        <translation>mit Fehlern abgeschlossen</translation>
    </message>
    <message>
        <source>cancelled</source>
        <translation>abgebrochen</translation>
    </message>
    <message>
        <source>interrupted</source>
        <translation>unterbrochen</translation>
    </message>
    <message>
        <source>running</source>
        <translation>läuft</translation>
    </message>
    <message>
        <source>all</source>
        <translation>alle Daten</translation>
    </message>
    <message>
        <source>private</source>
        <translation>private Daten</translation>
    </message>
    <message>
        <source>app</source>
        <translation>App-Daten</translation>
    </message>
    <message>
        <source>%1, verified</source>
        <translation>%1, geprüft</translation>
    </message>
    <message>
        <source>Erase completed with failures: %1 of 1 item confirmed erased; not read from the phone: %2</source>
        <translation>Löschen mit Fehlern abgeschlossen: %1 von 1 Element als gelöscht bestätigt; nicht vom Telefon gelesen: %2</translation>
    </message>
    <message numerus="yes">
        <source>Erase completed with failures: %1 of %n items confirmed erased; not read from the phone: %2</source>
        <translation>
            <numerusform>Löschen mit Fehlern abgeschlossen: %1 von %n Element als gelöscht bestätigt; nicht vom Telefon gelesen: %2</numerusform>
            <numerusform>Löschen mit Fehlern abgeschlossen: %1 von %n Elementen als gelöscht bestätigt; nicht vom Telefon gelesen: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Erase completed: all 1 chosen item confirmed erased</source>
        <translation>Löschen abgeschlossen: 1 ausgewähltes Element als gelöscht bestätigt</translation>
    </message>
    <message numerus="yes">
        <source>Erase completed: all %n chosen items confirmed erased</source>
        <translation>
            <numerusform>Löschen abgeschlossen: %n ausgewähltes Element als gelöscht bestätigt</numerusform>
            <numerusform>Löschen abgeschlossen: alle %n ausgewählten Elemente als gelöscht bestätigt</numerusform>
        </translation>
    </message>
    <message>
        <source>Erase completed with failures: %1 of 1 item confirmed erased</source>
        <translation>Löschen mit Fehlern abgeschlossen: %1 von 1 Element als gelöscht bestätigt</translation>
    </message>
    <message numerus="yes">
        <source>Erase completed with failures: %1 of %n items confirmed erased</source>
        <translation>
            <numerusform>Löschen mit Fehlern abgeschlossen: %1 von %n Element als gelöscht bestätigt</numerusform>
            <numerusform>Löschen mit Fehlern abgeschlossen: %1 von %n Elementen als gelöscht bestätigt</numerusform>
        </translation>
    </message>
    <message>
        <source>Erase cancelled: %1 of 1 item confirmed erased before the cancel</source>
        <translation>Löschen abgebrochen: %1 von 1 Element vor dem Abbruch als gelöscht bestätigt</translation>
    </message>
    <message numerus="yes">
        <source>Erase cancelled: %1 of %n items confirmed erased before the cancel</source>
        <translation>
            <numerusform>Löschen abgebrochen: %1 von %n Element vor dem Abbruch als gelöscht bestätigt</numerusform>
            <numerusform>Löschen abgebrochen: %1 von %n Elementen vor dem Abbruch als gelöscht bestätigt</numerusform>
        </translation>
    </message>
    <message>
        <source>Erase interrupted: %1 of 1 item confirmed erased</source>
        <translation>Löschen unterbrochen: %1 von 1 Element als gelöscht bestätigt</translation>
    </message>
    <message numerus="yes">
        <source>Erase interrupted: %1 of %n items confirmed erased</source>
        <translation>
            <numerusform>Löschen unterbrochen: %1 von %n Element als gelöscht bestätigt</numerusform>
            <numerusform>Löschen unterbrochen: %1 von %n Elementen als gelöscht bestätigt</numerusform>
        </translation>
    </message>
    <message>
        <source>Erase running</source>
        <translation>Löschen läuft</translation>
    </message>
    <message>
        <source>Purgatex for Android %1 — erase record</source>
        <translation>Purgatex for Android %1 – Löschprotokoll</translation>
    </message>
    <message>
        <source>Outcome</source>
        <translation>Ergebnis</translation>
    </message>
    <message>
        <source>Why</source>
        <translation>Grund</translation>
    </message>
    <message>
        <source>Started</source>
        <translation>Begonnen</translation>
    </message>
    <message>
        <source>Ended</source>
        <translation>Beendet</translation>
    </message>
    <message>
        <source>Phone model</source>
        <translation>Telefonmodell</translation>
    </message>
    <message>
        <source>Android version</source>
        <translation>Android-Version</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Phone storage</source>
        <translation>Telefonspeicher</translation>
    </message>
    <message>
        <source>SD card storage</source>
        <translation>Speicher der SD-Karte</translation>
    </message>
    <message>
        <source>Scope</source>
        <translation>Umfang</translation>
    </message>
    <message>
        <source>Security level</source>
        <translation>Sicherheitsstufe</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>Per category</source>
        <translation>Je Kategorie</translation>
    </message>
    <message>
        <source>Chosen</source>
        <translation>Ausgewählt</translation>
    </message>
    <message>
        <source>Sent</source>
        <translation>Gesendet</translation>
    </message>
    <message>
        <source>Confirmed erased</source>
        <translation>Als gelöscht bestätigt</translation>
    </message>
    <message>
        <source>Not confirmed</source>
        <translation>Nicht bestätigt</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>%1: answered in an earlier, cancelled run started %2; not sent again.</source>
        <translation>%1: in einem früheren, abgebrochenen Durchgang (begonnen %2) beantwortet; nicht erneut gesendet.</translation>
    </message>
    <message>
        <source>%1, not sent: %2.</source>
        <translation>%1, nicht gesendet: %2.</translation>
    </message>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
    <message>
        <source>%1: could not be read from the phone (%2); the phone may hold any number of them, none was erased.</source>
        <translation>%1: konnte nicht vom Telefon gelesen werden (%2); das Telefon kann beliebig viele davon enthalten, keines wurde gelöscht.</translation>
    </message>
    <message>
        <source>%1: an answer of the phone could not be told from the late answer of an earlier batch the cancel had cut off; the items it answered for are counted as not confirmed.</source>
        <translation>%1: Eine Antwort des Telefons ließ sich nicht von der verspäteten Antwort eines früheren, durch den Abbruch unterbrochenen Stapels unterscheiden; die Elemente, für die sie galt, zählen als nicht bestätigt.</translation>
    </message>
    <message>
        <source>%1: 1 item sent before the cancel without an answer; sent again, the phone reported it as not erased, as it does for items it no longer has. It may have been erased before the cancel and is counted as not confirmed.</source>
        <translation>%1: 1 Element wurde vor dem Abbruch ohne Antwort gesendet; erneut gesendet, meldete das Telefon es als nicht gelöscht, wie bei Elementen, die es nicht mehr hat. Es wurde womöglich schon vor dem Abbruch gelöscht und zählt als nicht bestätigt.</translation>
    </message>
    <message numerus="yes">
        <source>%1: %n items sent before the cancel without an answer; sent again, the phone reported them as not erased, as it does for items it no longer has. They may have been erased before the cancel and are counted as not confirmed.</source>
        <translation>
            <numerusform>%1: %n Element wurde vor dem Abbruch ohne Antwort gesendet; erneut gesendet, meldete das Telefon es als nicht gelöscht, wie bei Elementen, die es nicht mehr hat. Es wurde womöglich schon vor dem Abbruch gelöscht und zählt als nicht bestätigt.</numerusform>
            <numerusform>%1: %n Elemente wurden vor dem Abbruch ohne Antwort gesendet; erneut gesendet, meldete das Telefon sie als nicht gelöscht, wie bei Elementen, die es nicht mehr hat. Sie wurden womöglich schon vor dem Abbruch gelöscht und zählen als nicht bestätigt.</numerusform>
        </translation>
    </message>
    <message>
        <source>%1: the phone announced %2 records and listed %3; a record may hold text that reads as further records.</source>
        <translation>%1: Das Telefon hat %2 Einträge angekündigt und %3 aufgelistet; ein Eintrag kann Text enthalten, der sich wie weitere Einträge liest.</translation>
    </message>
    <message>
        <source>1 location</source>
        <translation>1 Speicherort</translation>
    </message>
    <message numerus="yes">
        <source>%n locations</source>
        <translation>
            <numerusform>%n Speicherort</numerusform>
            <numerusform>%n Speicherorte</numerusform>
        </translation>
    </message>
    <message>
        <source>1 id</source>
        <translation>1 ID</translation>
    </message>
    <message numerus="yes">
        <source>%n ids</source>
        <translation>
            <numerusform>%n ID</numerusform>
            <numerusform>%n IDs</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 — %2 (%3):</source>
        <translation>%1 – %2 (%3):</translation>
    </message>
    <message numerus="yes">
        <source>and %n more, all listed in the JSON record</source>
        <translation>
            <numerusform>und %n weiterer, alle im JSON-Protokoll aufgeführt</numerusform>
            <numerusform>und %n weitere, alle im JSON-Protokoll aufgeführt</numerusform>
        </translation>
    </message>
    <message>
        <source>Items not confirmed erased</source>
        <translation>Nicht als gelöscht bestätigte Elemente</translation>
    </message>
    <message>
        <source>Counts are what the companion app on the phone confirmed: an item is listed as erased only when the phone answered that it was erased. This record names no contents of erased items; it lists the record ids and file locations of items that were not erased.</source>
        <translation>Die Zahlen geben wieder, was die Begleit-App auf dem Telefon bestätigt hat: Ein Element gilt nur dann als gelöscht, wenn das Telefon geantwortet hat, dass es gelöscht wurde. Dieses Protokoll nennt keine Inhalte gelöschter Elemente; es führt die Eintrags-IDs und Speicherorte der Elemente auf, die nicht gelöscht wurden.</translation>
    </message>
    <message>
        <source>the folder cannot be created</source>
        <translation>der Ordner lässt sich nicht anlegen</translation>
    </message>
    <message>
        <source>Erase cancelled</source>
        <translation>Löschen abgebrochen</translation>
    </message>
    <message>
        <source>Erase interrupted</source>
        <translation>Löschen unterbrochen</translation>
    </message>
    <message>
        <source>Erase not verified</source>
        <translation>Löschen nicht nachgewiesen</translation>
    </message>
    <message>
        <source>Completed</source>
        <translation>Abgeschlossen</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>The phone reported %1 of %2 as erased, but it still lists some of them.</source>
        <translation>Das Telefon hat %1 von %2 als gelöscht gemeldet, listet aber einige davon noch auf.</translation>
    </message>
    <message>
        <source>The erase was interrupted: %1. The phone confirmed none of the %2 as erased.</source>
        <translation>Das Löschen wurde unterbrochen: %1. Das Telefon hat von %2 keines als gelöscht bestätigt.</translation>
    </message>
    <message>
        <source>The erase was interrupted: %1. The phone confirmed %2 of %3 as erased; the other %4 may still be on the phone.</source>
        <translation>Das Löschen wurde unterbrochen: %1. Das Telefon hat %2 von %3 als gelöscht bestätigt; die übrigen %4 sind womöglich noch auf dem Telefon.</translation>
    </message>
    <message>
        <source>The erase was cancelled. Nothing was confirmed erased before the cancel.</source>
        <translation>Das Löschen wurde abgebrochen. Vor dem Abbruch wurde nichts als gelöscht bestätigt.</translation>
    </message>
    <message>
        <source>The erase was cancelled. Erased before the cancel: %1 of %2 (%3).</source>
        <translation>Das Löschen wurde abgebrochen. Vor dem Abbruch gelöscht: %1 von %2 (%3).</translation>
    </message>
    <message>
        <source> Not confirmed erased: %1. Erase Now goes on with them.</source>
        <translation> Nicht als gelöscht bestätigt: %1. „Jetzt löschen“ macht damit weiter.</translation>
    </message>
    <message>
        <source>Erase record: %1</source>
        <translation>Löschprotokoll: %1</translation>
    </message>
    <message>
        <source>The erase record could not be saved in %1 (%2).</source>
        <translation>Das Löschprotokoll konnte nicht in %1 gespeichert werden (%2).</translation>
    </message>
</context>
<context>
    <name>eraseverification</name>
    <message>
        <source>Verified</source>
        <translation>Geprüft</translation>
    </message>
    <message>
        <source>Verification failed</source>
        <translation>Prüfung fehlgeschlagen</translation>
    </message>
    <message>
        <source>Not verified</source>
        <translation>Nicht geprüft</translation>
    </message>
    <message>
        <source>waiting for the phone to restart...</source>
        <translation>warte auf den Neustart des Telefons …</translation>
    </message>
    <message>
        <source>looking for the erased items on the phone...</source>
        <translation>suche die gelöschten Elemente auf dem Telefon …</translation>
    </message>
    <message>
        <source>1 of 1 erased item is gone from the phone</source>
        <translation>das 1 gelöschte Element ist vom Telefon verschwunden</translation>
    </message>
    <message numerus="yes">
        <source>%n of %n erased items are gone from the phone</source>
        <translation>
            <numerusform>%n gelöschtes Element ist vom Telefon verschwunden</numerusform>
            <numerusform>alle %n gelöschten Elemente sind vom Telefon verschwunden</numerusform>
        </translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>1 item reported erased is still on the phone: %1</source>
        <translation>1 als gelöscht gemeldetes Element ist noch auf dem Telefon: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n items reported erased are still on the phone: %1</source>
        <translation>
            <numerusform>%n als gelöscht gemeldetes Element ist noch auf dem Telefon: %1</numerusform>
            <numerusform>%n als gelöscht gemeldete Elemente sind noch auf dem Telefon: %1</numerusform>
        </translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>verification could not run: %1</source>
        <translation>Prüfung nicht möglich: %1</translation>
    </message>
    <message>
        <source>Verification: %1</source>
        <translation>Prüfung: %1</translation>
    </message>
    <message>
        <source>Verified: %1</source>
        <translation>Geprüft: %1</translation>
    </message>
    <message>
        <source>Verification could not run: %1</source>
        <translation>Prüfung nicht möglich: %1</translation>
    </message>
    <message>
        <source>Not verified: %1</source>
        <translation>Nicht geprüft: %1</translation>
    </message>
    <message>
        <source>checked</source>
        <translation>geprüft</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>wartet</translation>
    </message>
    <message numerus="yes">
        <source>%n still listed</source>
        <translation>
            <numerusform>%n noch aufgeführt</numerusform>
            <numerusform>%n noch aufgeführt</numerusform>
        </translation>
    </message>
    <message>
        <source>not checked</source>
        <translation>nicht geprüft</translation>
    </message>
    <message>
        <source>could not list</source>
        <translation>nicht auflistbar</translation>
    </message>
    <message>
        <source>not read whole</source>
        <translation>nicht vollständig gelesen</translation>
    </message>
    <message>
        <source>could not check</source>
        <translation>nicht prüfbar</translation>
    </message>
    <message>
        <source>all gone</source>
        <translation>alle verschwunden</translation>
    </message>
</context>
<context>
    <name>pictures</name>
    <message>
        <source>Copyright © 2026 The Purgatex team</source>
        <translation>Copyright © 2026 das Purgatex-Team</translation>
    </message>
    <message>
        <source>Open Settings and tap “About phone”</source>
        <translation>Öffnen Sie die Einstellungen und tippen Sie auf „Über das Telefon“</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>Display</source>
        <translation>Display</translation>
    </message>
    <message>
        <source>Battery</source>
        <translation>Akku</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Speicher</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>About phone</source>
        <translation>Über das Telefon</translation>
    </message>
    <message>
        <source>Tap “Build number” 7 times</source>
        <translation>Tippen Sie 7-mal auf „Build‑Nummer“</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Modell</translation>
    </message>
    <message>
        <source>Android version</source>
        <translation>Android-Version</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Legal</source>
        <translation>Rechtliches</translation>
    </message>
    <message>
        <source>Build number</source>
        <translation>Build-Nummer</translation>
    </message>
    <message>
        <source>Kernel</source>
        <translation>Kernel</translation>
    </message>
    <message>
        <source>In “Developer options” turn on “USB debugging”</source>
        <translation>Schalten Sie unter „Entwickleroptionen“ das „USB‑Debugging“ ein</translation>
    </message>
    <message>
        <source>Developer options</source>
        <translation>Entwickleroptionen</translation>
    </message>
    <message>
        <source>Stay awake</source>
        <translation>Aktiv lassen</translation>
    </message>
    <message>
        <source>OEM unlocking</source>
        <translation>OEM-Entsperrung</translation>
    </message>
    <message>
        <source>Running services</source>
        <translation>Aktive Dienste</translation>
    </message>
    <message>
        <source>USB debugging</source>
        <translation>USB-Debugging</translation>
    </message>
    <message>
        <source>Mock location</source>
        <translation>Simulierter Standort</translation>
    </message>
    <message>
        <source>Animation scale</source>
        <translation>Animationsmaßstab</translation>
    </message>
    <message>
        <source>Change SMS app?</source>
        <translation>SMS-App ändern?</translation>
    </message>
    <message>
        <source>Use Purgatex instead of your messaging app as your SMS app?</source>
        <translation>Purgatex statt Ihrer Nachrichten-App als SMS-App verwenden?</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
</context>
<context>
    <name>recordtext</name>
    <message>
        <source>no location the phone gave can be read</source>
        <translation>keiner der vom Telefon angegebenen Speicherorte ist lesbar</translation>
    </message>
    <message>
        <source>too long for an erase request</source>
        <translation>zu lang für eine Löschanfrage</translation>
    </message>
    <message>
        <source>cancelled by the user</source>
        <translation>vom Benutzer abgebrochen</translation>
    </message>
    <message>
        <source>cancelled by the user; the phone did not confirm the cancel</source>
        <translation>vom Benutzer abgebrochen; das Telefon hat den Abbruch nicht bestätigt</translation>
    </message>
    <message>
        <source>the link to the phone was lost</source>
        <translation>die Verbindung zum Telefon ist abgerissen</translation>
    </message>
    <message>
        <source>the program was closed during the erase</source>
        <translation>das Programm wurde während des Löschens geschlossen</translation>
    </message>
    <message>
        <source>the erase was cancelled before they were sent</source>
        <translation>das Löschen wurde abgebrochen, bevor sie gesendet wurden</translation>
    </message>
    <message>
        <source>the erase was interrupted before they were sent</source>
        <translation>das Löschen wurde unterbrochen, bevor sie gesendet wurden</translation>
    </message>
    <message>
        <source>the run did not send them</source>
        <translation>der Durchgang hat sie nicht gesendet</translation>
    </message>
    <message>
        <source>the phone answered that it could not list them</source>
        <translation>das Telefon hat geantwortet, dass es sie nicht auflisten kann</translation>
    </message>
    <message>
        <source>the companion app may not read them on this phone</source>
        <translation>die Begleit-App darf sie auf diesem Telefon nicht lesen</translation>
    </message>
    <message>
        <source>the phone listed their id more than once, so it cannot be told which item the id would erase</source>
        <translation>das Telefon hat ihre ID mehrfach aufgeführt; es lässt sich nicht sagen, welches Element die ID löschen würde</translation>
    </message>
    <message>
        <source>the change of the default SMS app was declined on the phone</source>
        <translation>der Wechsel der Standard-SMS-App wurde auf dem Telefon abgelehnt</translation>
    </message>
    <message>
        <source>the report page was left before the check was done</source>
        <translation>die Berichtsseite wurde vor dem Ende der Prüfung verlassen</translation>
    </message>
    <message>
        <source>Verification shows that the items are no longer listed by the phone; it cannot show that their storage was overwritten.</source>
        <translation>Die Prüfung zeigt, dass das Telefon die Elemente nicht mehr auflistet; dass ihr Speicher überschrieben wurde, kann sie nicht zeigen.</translation>
    </message>
    <message>
        <source>the erase did not finish</source>
        <translation>das Löschen wurde nicht abgeschlossen</translation>
    </message>
    <message>
        <source>verification does not apply to an erase of all data; restore the phone to its factory settings to remove everything</source>
        <translation>beim Löschen aller Daten entfällt die Prüfung; setzen Sie das Telefon auf die Werkseinstellungen zurück, um alles zu entfernen</translation>
    </message>
    <message>
        <source>the phone confirmed nothing erased</source>
        <translation>das Telefon hat kein Löschen bestätigt</translation>
    </message>
    <message>
        <source>a different phone is connected</source>
        <translation>ein anderes Telefon ist angeschlossen</translation>
    </message>
    <message>
        <source>the serial number of the phone connected now cannot be read</source>
        <translation>die Seriennummer des jetzt angeschlossenen Telefons ist nicht lesbar</translation>
    </message>
    <message>
        <source>1 %1 entry</source>
        <translation>1 Eintrag (%1)</translation>
    </message>
    <message numerus="yes">
        <source>%n %1 entries</source>
        <translation>
            <numerusform>%n Eintrag (%1)</numerusform>
            <numerusform>%n Einträge (%1)</numerusform>
        </translation>
    </message>
    <message>
        <source>the phone could not list %1</source>
        <translation>das Telefon konnte %1 nicht auflisten</translation>
    </message>
    <message>
        <source>the %1 list could not be read whole</source>
        <translation>die Liste %1 konnte nicht vollständig gelesen werden</translation>
    </message>
    <message>
        <source>the phone listed %1 the check cannot read</source>
        <translation>das Telefon hat für die Prüfung unlesbare Einträge aufgeführt: %1</translation>
    </message>
    <message>
        <source>the phone listed %1 in another form, which may be what was erased</source>
        <translation>das Telefon hat in anderer Schreibweise aufgeführt, was das Gelöschte sein kann: %1</translation>
    </message>
    <message>
        <source>; </source>
        <translation>; </translation>
    </message>
    <message numerus="yes">
        <source>%n minutes</source>
        <translation>
            <numerusform>%n Minute</numerusform>
            <numerusform>%n Minuten</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n seconds</source>
        <translation>
            <numerusform>%n Sekunde</numerusform>
            <numerusform>%n Sekunden</numerusform>
        </translation>
    </message>
    <message>
        <source>the phone did not come back and answer within %1</source>
        <translation>das Telefon ist nicht innerhalb von %1 zurückgekehrt und hat nicht geantwortet</translation>
    </message>
</context>
</TS>
