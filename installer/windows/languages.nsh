; The setup program's own texts in its three languages (Modern UI brings
; the rest). Read as UTF-8.

LangString MakeCurrentText ${LANG_ENGLISH} "Make Lumara the current screen saver"
LangString MakeCurrentText ${LANG_GERMAN} "Lumara als aktuellen Bildschirmschoner verwenden"
LangString MakeCurrentText ${LANG_FRENCH} "Faire de Lumara l'écran de veille actuel"

LangString OpenSettingsText ${LANG_ENGLISH} "Open the screen saver settings"
LangString OpenSettingsText ${LANG_GERMAN} "Bildschirmschoner-Einstellungen öffnen"
LangString OpenSettingsText ${LANG_FRENCH} "Ouvrir les paramètres de l'écran de veille"

LangString RemoveSettingsText ${LANG_ENGLISH} "Also remove my settings"
LangString RemoveSettingsText ${LANG_GERMAN} "Auch meine Einstellungen entfernen"
LangString RemoveSettingsText ${LANG_FRENCH} "Supprimer aussi mes paramètres"

LangString RegistryFailedText ${LANG_ENGLISH} "Setup could not record the program folder in the registry. Run it as an administrator."
LangString RegistryFailedText ${LANG_GERMAN} "Das Setup konnte den Programmordner nicht in der Registrierung eintragen. Führen Sie es als Administrator aus."
LangString RegistryFailedText ${LANG_FRENCH} "L'installation n'a pas pu inscrire le dossier du programme dans le registre. Exécutez-la en tant qu'administrateur."
