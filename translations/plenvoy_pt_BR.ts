<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>CommandLine</name>
    <message>
        <source>does not exist</source>
        <translation>não existe</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>não pode ser lido</translation>
    </message>
    <message>
        <source>1 path could not be added:</source>
        <translation>Não foi possível adicionar 1 caminho:</translation>
    </message>
    <message>
        <source>%1 paths could not be added:</source>
        <translation>Não foi possível adicionar %1 caminhos:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>e mais %1.</translation>
    </message>
</context>
<context>
    <name>ErrorReport</name>
    <message>
        <source>Application Error</source>
        <translation>Erro do aplicativo</translation>
    </message>
    <message>
        <source>Invalid picture</source>
        <translation>Imagem inválida</translation>
    </message>
    <message>
        <source>at line %1</source>
        <translation>na linha %1</translation>
    </message>
    <message>
        <source>Please email screenshot of this message to %1</source>
        <translation>Envie uma captura de tela desta mensagem por e-mail para %1</translation>
    </message>
    <message>
        <source>Invalid procedure call or argument</source>
        <translation>Chamada de procedimento ou argumento inválido</translation>
    </message>
    <message>
        <source>Overflow</source>
        <translation>Estouro de capacidade</translation>
    </message>
    <message>
        <source>Subscript out of range</source>
        <translation>Subscrito fora do intervalo</translation>
    </message>
    <message>
        <source>Type mismatch</source>
        <translation>Tipos incompatíveis</translation>
    </message>
    <message>
        <source>File not found</source>
        <translation>Arquivo não encontrado</translation>
    </message>
    <message>
        <source>Permission denied</source>
        <translation>Permissão negada</translation>
    </message>
    <message>
        <source>Path not found</source>
        <translation>Caminho não encontrado</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Valor de propriedade inválido</translation>
    </message>
    <message>
        <source>Application-defined or object-defined error</source>
        <translation>Erro definido pelo aplicativo ou pelo objeto</translation>
    </message>
    <message>
        <source>Out of memory</source>
        <translation>Memória insuficiente</translation>
    </message>
    <message>
        <source>Cannot load skin: %1</source>
        <translation>Não foi possível carregar o tema: %1</translation>
    </message>
    <message>
        <source>the file is too large</source>
        <translation>o arquivo é grande demais</translation>
    </message>
    <message>
        <source>the file is not UTF-8 text</source>
        <translation>o arquivo não é texto UTF-8</translation>
    </message>
    <message>
        <source>the file is not a style sheet</source>
        <translation>o arquivo não é uma folha de estilos</translation>
    </message>
</context>
<context>
    <name>FileList</name>
    <message>
        <source>All Files (*)</source>
        <translation>Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>Add File(s) - Hold Ctrl to select multiple files</source>
        <translation>Adicionar arquivos – segure Ctrl para selecionar vários</translation>
    </message>
    <message>
        <source>was not added because it has bad characters in the filename.</source>
        <translation>não foi adicionado porque o nome contém caracteres inválidos.</translation>
    </message>
    <message>
        <source>Enter file extension to load:<byte value="xd"/><byte value="xd"/>(* for all files, txt for all txt files, doc for all doc files, etc.)</source>
        <translation>Extensão dos arquivos a carregar:<byte value="xd"/><byte value="xd"/>(* para todos os arquivos, txt para todos os arquivos txt, doc para todos os arquivos doc etc.)</translation>
    </message>
    <message>
        <source>Please select folder:</source>
        <translation>Selecione uma pasta:</translation>
    </message>
    <message>
        <source>All File(s)</source>
        <translation>Todos os arquivos</translation>
    </message>
    <message>
        <source>Drag and drop files here. Double-click item to remove it. Move | line to right and out of window to reveal full names.</source>
        <translation>Arraste e solte arquivos aqui. Clique duas vezes em um item para removê-lo. Arraste a linha | para a direita, para fora da janela, para ver os nomes completos.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Options</source>
        <translation>Opções</translation>
    </message>
    <message>
        <source>Save Results To This Folder</source>
        <translation>Salvar os resultados nesta pasta</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Configurações do carimbo de data</translation>
    </message>
    <message>
        <source>Undo Run</source>
        <translation>Desfazer a operação</translation>
    </message>
    <message>
        <source>Would you like this software to open the folder where these sample files are stored (so that you can view them before working with them)?</source>
        <translation>Deseja que este programa abra a pasta onde estão esses arquivos de exemplo (para que você possa vê-los antes de trabalhar com eles)?</translation>
    </message>
    <message>
        <source>&amp;Add File(s)</source>
        <translation>&amp;Adicionar arquivos</translation>
    </message>
    <message>
        <source>Add All Files In &amp;Folder</source>
        <translation>Adicionar &amp;pasta inteira</translation>
    </message>
    <message>
        <source>&amp;Start Changing</source>
        <translation>&amp;Iniciar a cópia</translation>
    </message>
    <message>
        <source>&amp;Stop</source>
        <translation>Pa&amp;rar</translation>
    </message>
    <message>
        <source>&amp;Clear List</source>
        <translation>&amp;Limpar a lista</translation>
    </message>
    <message>
        <source>&amp;Load Sample/Example Files</source>
        <translation>Carregar arquivos de &amp;exemplo</translation>
    </message>
    <message>
        <source>&amp;Open Folder</source>
        <translation>&amp;Abrir a pasta</translation>
    </message>
</context>
<context>
    <name>NewName</name>
    <message>
        <source>New Name</source>
        <translation>Novo nome</translation>
    </message>
    <message>
        <source>New Name (n = %1)</source>
        <translation>Novo nome (n = %1)</translation>
    </message>
    <message>
        <source>New Name (n not yet given)</source>
        <translation>Novo nome (n ainda não informado)</translation>
    </message>
    <message>
        <source>%1 (replaces the file of that name)</source>
        <translation>%1 (substitui o arquivo com esse nome)</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>não copiado: %1</translation>
    </message>
    <message>
        <source>reading…</source>
        <translation>lendo…</translation>
    </message>
</context>
<context>
    <name>RenameOption</name>
    <message>
        <source>Add current time to beginning of filename</source>
        <translation>Adicionar a hora atual no início do nome</translation>
    </message>
    <message>
        <source>Add current time to end of filename</source>
        <translation>Adicionar a hora atual no fim do nome</translation>
    </message>
    <message>
        <source>Add current time after nth character in filename</source>
        <translation>Adicionar a hora atual após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add current date to beginning of filename</source>
        <translation>Adicionar a data atual no início do nome</translation>
    </message>
    <message>
        <source>Add current date to end of filename</source>
        <translation>Adicionar a data atual no fim do nome</translation>
    </message>
    <message>
        <source>Add current date after nth character in filename</source>
        <translation>Adicionar a data atual após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add current time and date to beginning of filename</source>
        <translation>Adicionar a hora e a data atuais no início do nome</translation>
    </message>
    <message>
        <source>Add current time and date to end of filename</source>
        <translation>Adicionar a hora e a data atuais no fim do nome</translation>
    </message>
    <message>
        <source>Add current time and date after nth character in filename</source>
        <translation>Adicionar a hora e a data atuais após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add file creation time to beginning of filename</source>
        <translation>Adicionar a hora de criação no início do nome</translation>
    </message>
    <message>
        <source>Add file creation time to end of filename</source>
        <translation>Adicionar a hora de criação no fim do nome</translation>
    </message>
    <message>
        <source>Add file creation time after nth character in filename</source>
        <translation>Adicionar a hora de criação após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add file creation date to beginning of filename</source>
        <translation>Adicionar a data de criação no início do nome</translation>
    </message>
    <message>
        <source>Add file creation date to end of filename</source>
        <translation>Adicionar a data de criação no fim do nome</translation>
    </message>
    <message>
        <source>Add file creation date after nth character in filename</source>
        <translation>Adicionar a data de criação após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add file creation time and date to beginning of filename</source>
        <translation>Adicionar a hora e a data de criação no início do nome</translation>
    </message>
    <message>
        <source>Add file creation time and date to end of filename</source>
        <translation>Adicionar a hora e a data de criação no fim do nome</translation>
    </message>
    <message>
        <source>Add file creation time and date after nth character in filename</source>
        <translation>Adicionar a hora e a data de criação após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add last modified time to beginning of filename</source>
        <translation>Adicionar a hora de modificação no início do nome</translation>
    </message>
    <message>
        <source>Add last modification time to end of filename</source>
        <translation>Adicionar a hora de modificação no fim do nome</translation>
    </message>
    <message>
        <source>Add last modified time after nth character in filename</source>
        <translation>Adicionar a hora de modificação após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add last modified date to beginning of filename</source>
        <translation>Adicionar a data de modificação no início do nome</translation>
    </message>
    <message>
        <source>Add last modified date to end of filename</source>
        <translation>Adicionar a data de modificação no fim do nome</translation>
    </message>
    <message>
        <source>Add last modified date after nth character in filename</source>
        <translation>Adicionar a data de modificação após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add last modified time and date to beginning of filename</source>
        <translation>Adicionar a hora e a data de modificação no início do nome</translation>
    </message>
    <message>
        <source>Add last modified time and date to end of filename</source>
        <translation>Adicionar a hora e a data de modificação no fim do nome</translation>
    </message>
    <message>
        <source>Add last modified time and date after nth character in filename</source>
        <translation>Adicionar a hora e a data de modificação após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add last accessed time to beginning of filename</source>
        <translation>Adicionar a hora do último acesso no início do nome</translation>
    </message>
    <message>
        <source>Add last accessed time to end of filename</source>
        <translation>Adicionar a hora do último acesso no fim do nome</translation>
    </message>
    <message>
        <source>Add last accessed time after nth character in filename</source>
        <translation>Adicionar a hora do último acesso após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add last accessed date to beginning of filename</source>
        <translation>Adicionar a data do último acesso no início do nome</translation>
    </message>
    <message>
        <source>Add last accessed date to end of filename</source>
        <translation>Adicionar a data do último acesso no fim do nome</translation>
    </message>
    <message>
        <source>Add last accessed date after nth character in filename</source>
        <translation>Adicionar a data do último acesso após o n-ésimo caractere</translation>
    </message>
    <message>
        <source>Add last accessed time and date to beginning of filename</source>
        <translation>Adicionar a hora e a data do último acesso no início do nome</translation>
    </message>
    <message>
        <source>Add last accessed time and date to end of filename</source>
        <translation>Adicionar a hora e a data do último acesso no fim do nome</translation>
    </message>
    <message>
        <source>Add last accessed time and date after nth character in filename</source>
        <translation>Adicionar a hora e a data do último acesso após o n-ésimo caractere</translation>
    </message>
</context>
<context>
    <name>Run</name>
    <message>
        <source>the name is too long for any folder</source>
        <translation>o nome é longo demais para qualquer pasta</translation>
    </message>
    <message>
        <source>it no longer exists</source>
        <translation>não existe mais</translation>
    </message>
    <message>
        <source>permission denied</source>
        <translation>permissão negada</translation>
    </message>
    <message>
        <source>the output folder is full</source>
        <translation>a pasta de destino está cheia</translation>
    </message>
    <message>
        <source>a read-only file of that name is in the way</source>
        <translation>já existe um arquivo somente leitura com esse nome</translation>
    </message>
    <message>
        <source>the name is too long for the output folder</source>
        <translation>o nome é longo demais para a pasta de destino</translation>
    </message>
    <message>
        <source>it changed while it was copied</source>
        <translation>foi alterado durante a cópia</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>não é um arquivo comum</translation>
    </message>
    <message>
        <source>the new name is the file itself</source>
        <translation>o novo nome é o próprio arquivo</translation>
    </message>
    <message>
        <source>another listed file has that name</source>
        <translation>outro arquivo da lista tem esse nome</translation>
    </message>
    <message>
        <source>something that is not a file has that name</source>
        <translation>algo que não é um arquivo tem esse nome</translation>
    </message>
    <message>
        <source>the output folder does not accept a character of the name</source>
        <translation>a pasta de destino não aceita um caractere do nome</translation>
    </message>
    <message>
        <source>every numbered name is taken</source>
        <translation>todos os nomes numerados já estão em uso</translation>
    </message>
    <message>
        <source>the copy was stopped</source>
        <translation>a cópia foi interrompida</translation>
    </message>
    <message>
        <source>%1 of %2 files was not copied:</source>
        <translation>%1 de %2 arquivos não foi copiado:</translation>
    </message>
    <message>
        <source>%1 of %2 files were not copied:</source>
        <translation>%1 de %2 arquivos não foram copiados:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>e mais %1.</translation>
    </message>
    <message>
        <source>1 file was renamed to avoid a clash.</source>
        <translation>1 arquivo foi renomeado para evitar um conflito de nomes.</translation>
    </message>
    <message>
        <source>%1 files were renamed to avoid a clash.</source>
        <translation>%1 arquivos foram renomeados para evitar conflitos de nomes.</translation>
    </message>
    <message>
        <source>Copied: %1, numbered: %2, replaced: %3, not copied: %4</source>
        <translation>Copiados: %1, numerados: %2, substituídos: %3, não copiados: %4</translation>
    </message>
    <message>
        <source>the output folder no longer exists</source>
        <translation>a pasta de destino não existe mais</translation>
    </message>
    <message>
        <source>This run cannot be taken back: its record could not be written</source>
        <translation>Esta operação não poderá ser desfeita: não foi possível gravar o registro dela</translation>
    </message>
    <message>
        <source>No files added.</source>
        <translation>Nenhum arquivo adicionado.</translation>
    </message>
    <message>
        <source>Folder does not exist. Please select another folder.</source>
        <translation>A pasta não existe. Selecione outra pasta.</translation>
    </message>
    <message>
        <source>Enter n:</source>
        <translation>Informe n:</translation>
    </message>
    <message>
        <source>Done.</source>
        <translation>Concluído.</translation>
    </message>
    <message>
        <source>Stopped after %1 of %2 files.</source>
        <translation>Parado após %1 de %2 arquivos.</translation>
    </message>
    <message>
        <source>copied before</source>
        <translation>já copiado antes</translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message>
        <source>%1 – %2 of %3</source>
        <translation>%1 – %2 de %3</translation>
    </message>
</context>
<context>
    <name>Settings</name>
    <message>
        <source>Your settings could not be read; Plenvoy starts with its defaults.</source>
        <translation>Não foi possível ler suas configurações; o Plenvoy será iniciado com os valores padrão.</translation>
    </message>
    <message>
        <source>Your settings will not be saved: the settings file cannot be written.</source>
        <translation>Suas configurações não serão salvas: não é possível gravar o arquivo de configurações.</translation>
    </message>
    <message>
        <source>Your settings file could not be read and was kept as %1; Plenvoy starts with its defaults.</source>
        <translation>Não foi possível ler seu arquivo de configurações, que foi guardado como %1; o Plenvoy será iniciado com os valores padrão.</translation>
    </message>
</context>
<context>
    <name>StampSettings</name>
    <message>
        <source>Stamp Settings</source>
        <translation>Carimbo de data e hora</translation>
    </message>
    <message>
        <source>Stamp form</source>
        <translation>Formato</translation>
    </message>
    <message>
        <source>As this computer writes dates</source>
        <translation>Como este computador escreve as datas</translation>
    </message>
    <message>
        <source>Sortable (2026-12-07 14-05-09)</source>
        <translation>Ordenável (2026-12-07 14-05-09)</translation>
    </message>
    <message>
        <source>Compact (20261207-140509)</source>
        <translation>Compacto (20261207-140509)</translation>
    </message>
    <message>
        <source>Creation time of photos and videos</source>
        <translation>Data de criação de fotos e vídeos</translation>
    </message>
    <message>
        <source>When the file was created on this computer</source>
        <translation>Quando o arquivo foi criado neste computador</translation>
    </message>
    <message>
        <source>When the photo or video was taken</source>
        <translation>Quando a foto ou o vídeo foi feito</translation>
    </message>
    <message>
        <source>Example: %1</source>
        <translation>Exemplo: %1</translation>
    </message>
    <message>
        <source>Holiday.jpg</source>
        <translation>Férias.jpg</translation>
    </message>
</context>
<context>
    <name>Undo</name>
    <message>
        <source>a link was put in its place</source>
        <translation>um link foi colocado no lugar dela</translation>
    </message>
    <message>
        <source>another file was put in its place</source>
        <translation>outro arquivo foi colocado no lugar dela</translation>
    </message>
    <message>
        <source>its size changed</source>
        <translation>o tamanho dela mudou</translation>
    </message>
    <message>
        <source>it was modified</source>
        <translation>ela foi modificada</translation>
    </message>
    <message>
        <source>its status changed (permissions, links or name)</source>
        <translation>o status dela mudou (permissões, links ou nome)</translation>
    </message>
    <message>
        <source>left: its folder no longer exists</source>
        <translation>deixada: a pasta dela não existe mais</translation>
    </message>
    <message>
        <source>left: its folder is no longer the one the run wrote into</source>
        <translation>deixada: a pasta dela não é mais aquela em que a operação gravou</translation>
    </message>
    <message>
        <source>left: it was moved or removed since</source>
        <translation>deixada: foi movida ou removida depois disso</translation>
    </message>
    <message>
        <source>left: %1</source>
        <translation>deixada: %1</translation>
    </message>
    <message>
        <source>Remove the %1 copy this run made in %2?</source>
        <translation>Remover %1 cópia criada por esta operação em %2?</translation>
    </message>
    <message>
        <source>Remove the %1 copies this run made in %2?</source>
        <translation>Remover as %1 cópias criadas por esta operação em %2?</translation>
    </message>
    <message>
        <source>%1 copy was removed.</source>
        <translation>%1 cópia foi removida.</translation>
    </message>
    <message>
        <source>%1 copies were removed.</source>
        <translation>%1 cópias foram removidas.</translation>
    </message>
    <message>
        <source>%1 copy was left:</source>
        <translation>%1 cópia foi deixada:</translation>
    </message>
    <message>
        <source>%1 copies were left:</source>
        <translation>%1 cópias foram deixadas:</translation>
    </message>
    <message>
        <source>and %1 more.</source>
        <translation>e mais %1.</translation>
    </message>
    <message>
        <source>kept: it replaced an earlier file</source>
        <translation>mantida: substituiu um arquivo anterior</translation>
    </message>
</context>
<context>
    <name>plenvoy::MainWindow</name>
    <message>
        <source>Stop after the current file?</source>
        <translation>Parar depois do arquivo atual?</translation>
    </message>
    <message>
        <source>Stop the run and close Plenvoy?</source>
        <translation>Interromper a operação e fechar o Plenvoy?</translation>
    </message>
    <message>
        <source>About Plenvoy</source>
        <translation>Sobre o Plenvoy</translation>
    </message>
    <message>
        <source>Browse for the output folder</source>
        <translation>Escolher a pasta de destino</translation>
    </message>
    <message>
        <source>Files to copy</source>
        <translation>Arquivos a copiar</translation>
    </message>
    <message>
        <source>Stamp settings</source>
        <translation>Configurações do carimbo de data</translation>
    </message>
    <message>
        <source>Each file is copied into the output folder under its new name</source>
        <translation>Cada arquivo é copiado para a pasta de destino com o novo nome</translation>
    </message>
    <message>
        <source>Progress of the run</source>
        <translation>Progresso da operação</translation>
    </message>
    <message>
        <source>Time-stamped copies of files</source>
        <translation>Cópias de arquivos com data e hora</translation>
    </message>
    <message>
        <source>Released under the MIT License.</source>
        <translation>Distribuído sob a licença MIT.</translation>
    </message>
    <message>
        <source>Uses Qt %1 and libexiv2 %2.</source>
        <translation>Usa Qt %1 e libexiv2 %2.</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>Aj&amp;uda</translation>
    </message>
    <message>
        <source>&amp;About Plenvoy</source>
        <translation>&amp;Sobre o Plenvoy</translation>
    </message>
</context>
<context>
    <name>plenvoy::RunProgressBar</name>
    <message>
        <source>%1 of %2 files</source>
        <translation>%1 de %2 arquivos</translation>
    </message>
    <message>
        <source>this file: %1 of %2</source>
        <translation>este arquivo: %1 de %2</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>faltam %1</translation>
    </message>
</context>
<context>
    <name>plenvoy::StampSettingsDialog</name>
    <message>
        <source>Where copies go</source>
        <translation>Onde ficam as cópias</translation>
    </message>
    <message>
        <source>All directly in the output folder</source>
        <translation>Todas diretamente na pasta de destino</translation>
    </message>
    <message>
        <source>In the folders they were added through</source>
        <translation>Nas pastas pelas quais foram adicionados</translation>
    </message>
    <message>
        <source>In year and day folders (2026/2026-12-07)</source>
        <translation>Em pastas por ano e dia (2026/2026-12-07)</translation>
    </message>
    <message>
        <source>Skip files copied before</source>
        <translation>Pular arquivos já copiados</translation>
    </message>
    <message>
        <source>Own pattern:</source>
        <translation>Padrão próprio:</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;/&quot; or a NUL character.</source>
        <translation>Um carimbo de data não pode conter “/” nem um caractere NUL.</translation>
    </message>
    <message>
        <source>A stamp cannot hold a control character (a tab or a line break).</source>
        <translation>Um carimbo de data não pode conter caracteres de controle (tabulação ou quebra de linha).</translation>
    </message>
    <message>
        <source>A stamp cannot hold &quot;%1&quot;: names on some drives refuse \ : * ? &quot; &lt; &gt; |</source>
        <translation>Um carimbo de data não pode conter “%1”: algumas unidades recusam \ : * ? &quot; &lt; &gt; | nos nomes.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a token: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, or %% for &quot;%&quot;.</source>
        <translation>“%1” não é um código: use %Y %y %m %d %e %H %I %M %S %p %b %B %a %A %j %V %G %u, ou %% para “%”.</translation>
    </message>
    <message>
        <source>The stamp could take %1 bytes, more than 64.</source>
        <translation>O carimbo de data poderia ocupar %1 bytes, mais de 64.</translation>
    </message>
    <message>
        <source>The stamp would be empty.</source>
        <translation>O carimbo de data ficaria vazio.</translation>
    </message>
    <message>
        <source>Shift taken times by</source>
        <translation>Deslocar os horários de captura em</translation>
    </message>
    <message>
        <source> days</source>
        <translation> dias</translation>
    </message>
    <message>
        <source>Presets</source>
        <translation>Predefinições</translation>
    </message>
    <message>
        <source>Pr&amp;eset:</source>
        <translation>&amp;Predefinição:</translation>
    </message>
    <message>
        <source>Saved presets</source>
        <translation>Predefinições salvas</translation>
    </message>
    <message>
        <source>A&amp;pply</source>
        <translation>&amp;Aplicar</translation>
    </message>
    <message>
        <source>Apply the preset</source>
        <translation>Aplicar a predefinição</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Excluir</translation>
    </message>
    <message>
        <source>Delete the preset</source>
        <translation>Excluir a predefinição</translation>
    </message>
    <message>
        <source>Preset &amp;name:</source>
        <translation>&amp;Nome:</translation>
    </message>
    <message>
        <source>Preset name</source>
        <translation>Nome da predefinição</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Salvar</translation>
    </message>
    <message>
        <source>Save the current setup as a preset</source>
        <translation>Salvar a configuração atual como predefinição</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Renomear</translation>
    </message>
    <message>
        <source>Rename the preset</source>
        <translation>Renomear a predefinição</translation>
    </message>
    <message>
        <source>A preset name holds at most %1 characters.</source>
        <translation>O nome de uma predefinição tem no máximo %1 caracteres.</translation>
    </message>
    <message>
        <source>A preset name cannot hold &quot;/&quot; or &quot;\&quot;.</source>
        <translation>O nome de uma predefinição não pode conter “/” nem “\”.</translation>
    </message>
    <message>
        <source>A preset name cannot hold a control character (a tab or a line break).</source>
        <translation>O nome de uma predefinição não pode conter um caractere de controle (uma tabulação ou uma quebra de linha).</translation>
    </message>
    <message>
        <source>The preset could not be saved: the settings file cannot be written.</source>
        <translation>Não foi possível salvar a predefinição: o arquivo de configurações não pode ser gravado.</translation>
    </message>
    <message>
        <source>A preset named &quot;%1&quot; exists already.</source>
        <translation>Já existe uma predefinição chamada “%1”.</translation>
    </message>
    <message>
        <source>The preset could not be renamed: the settings file cannot be written.</source>
        <translation>Não foi possível renomear a predefinição: o arquivo de configurações não pode ser gravado.</translation>
    </message>
    <message>
        <source>The preset could not be deleted: the settings file cannot be written.</source>
        <translation>Não foi possível excluir a predefinição: o arquivo de configurações não pode ser gravado.</translation>
    </message>
    <message>
        <source>Replace the preset &quot;%1&quot;?</source>
        <translation>Substituir a predefinição “%1”?</translation>
    </message>
    <message>
        <source>Delete the preset &quot;%1&quot;?</source>
        <translation>Excluir a predefinição “%1”?</translation>
    </message>
</context>
</TS>
